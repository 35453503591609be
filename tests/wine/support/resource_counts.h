#pragma once
// This process's GDI objects and kernel handles, counted where the usual functions are
// not there: Wine's GetGuiResources and GetProcessHandleCount answer 0.

namespace testing_support {

int GdiObjectCount();
int KernelHandleCount();

} // namespace testing_support
