#include "base/file_list_model.h"

#include <algorithm>
#include <numeric>

namespace vistrel {

std::vector<std::wstring> SplitMask(std::wstring_view mask) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start <= mask.size()) {
        size_t end = mask.find(L';', start);
        if (end == std::wstring_view::npos)
            end = mask.size();
        if (end > start)
            out.emplace_back(mask.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool MatchesPattern(std::wstring_view name, std::wstring_view pattern) {
    // Iterative matching with one backtrack point for the last "*": linear for the
    // patterns of a file mask, and never recursive on hostile names.
    size_t n = 0, p = 0, starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

FileListModel::FileListModel(FoldCase fold) : fold_(std::move(fold)) {}

void FileListModel::Assign(std::vector<std::wstring> names,
                           const std::vector<std::wstring>& patterns) {
    std::vector<std::wstring> foldedPatterns;
    for (const auto& p : patterns)
        foldedPatterns.push_back(fold_(p));

    std::vector<std::wstring> keys;
    std::vector<std::wstring> kept;
    keys.reserve(names.size());
    kept.reserve(names.size());
    for (auto& name : names) {
        std::wstring key = fold_(name);
        bool match = std::any_of(foldedPatterns.begin(), foldedPatterns.end(),
                                 [&](const std::wstring& p) { return MatchesPattern(key, p); });
        if (match) {
            keys.push_back(std::move(key));
            kept.push_back(std::move(name));
        }
    }

    std::vector<size_t> order(kept.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Ties (names equal but for case, possible where the file system tells case apart)
    // keep a fixed order.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : kept[a] < kept[b];
    });
    names_.clear();
    keys_.clear();
    keyIndex_.clear();
    keySetMade_ = false;
    names_.reserve(order.size());
    keys_.reserve(order.size());
    for (size_t i : order) {
        if (!names_.empty() && names_.back() == kept[i])
            continue; // a name found by two patterns is listed once
        names_.push_back(std::move(kept[i]));
        keys_.push_back(std::move(keys[i]));
    }
}

void FileListModel::Clear() {
    names_.clear();
    keys_.clear();
    keyIndex_.clear();
    keySetMade_ = false;
}

bool FileListModel::ContainsFolded(std::wstring_view foldedName, size_t* next) const {
    if (next && *next < keys_.size() && keys_[*next] == foldedName) {
        ++*next;
        return true;
    }
    if (!keySetMade_) {
        keyIndex_.reserve(keys_.size());
        for (size_t i = 0; i < keys_.size(); ++i)
            keyIndex_.emplace(keys_[i], i);
        keySetMade_ = true;
    }
    auto it = keyIndex_.find(foldedName);
    if (it == keyIndex_.end())
        return false;
    if (next)
        *next = it->second + 1;
    return true;
}

int FileListModel::IndexOfName(std::wstring_view name) const {
    std::wstring key = fold_(name);
    auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (it == keys_.end() || *it != key)
        return -1;
    return static_cast<int>(it - keys_.begin());
}

int FileListModel::IndexOfPrefix(std::wstring_view prefix) const {
    std::wstring key = fold_(prefix);
    auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (it == keys_.end() || it->compare(0, key.size(), key) != 0)
        return -1;
    return static_cast<int>(it - keys_.begin());
}

} // namespace vistrel
