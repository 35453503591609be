#pragma once
// What the photo list holds, apart from the window: the file names of one folder that
// match the mask, in alphabetical order without regard to letter case, with the searches
// the list and the next photo name need (exact name, typed prefix, many names in a row).

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel {

// Case folding as the file system compares names; given by the platform.
using FoldCase = std::function<std::wstring(std::wstring_view)>;

// Splits a mask such as "*.bmp;*.jpg" into its patterns; empty parts are dropped.
std::vector<std::wstring> SplitMask(std::wstring_view mask);

// Wildcard matching of a whole name against one pattern: "*" any run of characters, "?"
// any one character, the rest compared after folding. Matches the long name only, so
// "*.jpg" never matches "photo.jpeg" (as a short-name match on Windows would).
bool MatchesPattern(std::wstring_view foldedName, std::wstring_view foldedPattern);

class FileListModel {
public:
    explicit FileListModel(FoldCase fold);

    // Replaces the items by the names given that match any of the patterns, sorted; the
    // patterns stay for the names added later.
    void Assign(std::vector<std::wstring> names, const std::vector<std::wstring>& patterns);
    void Clear();

    // A name added in its place, when it matches the patterns and is not listed yet: where
    // it went.
    std::optional<size_t> Insert(std::wstring name);
    // The item of this name (letter case ignored) taken out: where it was.
    std::optional<size_t> Remove(std::wstring_view name);

    // What one change did to the items, for a view that mirrors them.
    struct Edit {
        bool inserted; // else removed
        size_t index;
        std::wstring name;
        bool operator==(const Edit&) const = default;
    };
    // Brings the names a folder's change records mention up to date with what they are now:
    // listed(name) gives the plain file of that name (letter case ignored) as the folder
    // spells it, or nothing. The records only say which names to look at again, so records
    // lost in between, or in another order, cannot leave a wrong list. Returns the edits
    // made, in order.
    using Lookup = std::function<std::optional<std::wstring>(const std::wstring& name)>;
    std::vector<Edit> Update(std::span<const std::wstring> names, const Lookup& listed);

    size_t Size() const { return names_.size(); }
    bool Empty() const { return names_.empty(); }
    const std::wstring& Name(size_t index) const { return names_[index]; }

    // The item with exactly this name, letter case ignored; -1 when there is none.
    int IndexOfName(std::wstring_view name) const;
    // The first item starting with the prefix, letter case ignored; -1 when there is none.
    int IndexOfPrefix(std::wstring_view prefix) const;
    // Whether an item's name, folded, is this one: a hash lookup, for searches that ask
    // about many names in a row. With next, the item at *next is compared first and *next
    // then follows the item found: names asked about in the list's own order (numbered
    // photos) are found by one comparison each, in order through memory.
    bool ContainsFolded(std::wstring_view foldedName, size_t* next = nullptr) const;
    std::wstring Fold(std::wstring_view name) const { return fold_(name); }

private:
    bool Matches(std::wstring_view key) const;
    size_t PlaceOf(std::wstring_view key, std::wstring_view name) const;
    void Changed();

    FoldCase fold_;
    std::vector<std::wstring> patterns_; // folded
    std::vector<std::wstring> names_;
    std::vector<std::wstring> keys_; // folded names, in the same order
    mutable std::unordered_map<std::wstring_view, size_t> keyIndex_; // over keys_, when needed
    mutable bool keySetMade_ = false;
};

} // namespace vistrel
