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

bool FileListModel::Matches(std::wstring_view key) const {
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [&](const std::wstring& p) { return MatchesPattern(key, p); });
}

void FileListModel::Assign(std::vector<std::wstring> names,
                           const std::vector<std::wstring>& patterns) {
    patterns_.clear();
    for (const auto& p : patterns)
        patterns_.push_back(fold_(p));

    std::vector<std::wstring> keys;
    std::vector<std::wstring> kept;
    keys.reserve(names.size());
    kept.reserve(names.size());
    for (auto& name : names) {
        std::wstring key = fold_(name);
        if (Matches(key)) {
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
    Changed();
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
    Changed();
}

void FileListModel::Changed() {
    // The index holds views of the keys, which move as the items do.
    keyIndex_.clear();
    keySetMade_ = false;
}

size_t FileListModel::PlaceOf(std::wstring_view key, std::wstring_view name) const {
    // The order Assign sorts by: folded names, and names equal but for case by their own.
    size_t low = 0, high = keys_.size();
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        int c = keys_[mid].compare(key);
        if (c < 0 || (c == 0 && names_[mid] < name))
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

std::optional<size_t> FileListModel::Insert(std::wstring name) {
    std::wstring key = fold_(name);
    if (!Matches(key) || IndexOfName(name) >= 0)
        return std::nullopt;
    const size_t at = PlaceOf(key, name);
    names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(at), std::move(name));
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), std::move(key));
    Changed();
    return at;
}

std::optional<size_t> FileListModel::Remove(std::wstring_view name) {
    const int at = IndexOfName(name);
    if (at < 0)
        return std::nullopt;
    names_.erase(names_.begin() + at);
    keys_.erase(keys_.begin() + at);
    Changed();
    return static_cast<size_t>(at);
}

std::vector<FileListModel::Edit> FileListModel::Update(std::span<const std::wstring> names,
                                                       const Lookup& listed) {
    std::vector<Edit> edits;
    for (const std::wstring& name : names) {
        const std::optional<std::wstring> actual = listed(name);
        // A name now spelled otherwise (renamed in letter case only) is listed anew.
        const int at = IndexOfName(name);
        if (at >= 0 && (!actual || Name(static_cast<size_t>(at)) != *actual)) {
            std::wstring removed = Name(static_cast<size_t>(at));
            Remove(name);
            edits.push_back({false, static_cast<size_t>(at), std::move(removed)});
        }
        if (actual)
            if (auto inserted = Insert(*actual))
                edits.push_back({true, *inserted, *actual});
    }
    return edits;
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
