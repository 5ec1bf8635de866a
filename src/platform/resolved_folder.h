#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::platform {

// One folder whose entries are looked up without regard to case from a single listing, for
// workers that write thousands of files into it: resolving each new name on its own would scan
// the whole folder every time. The folder's own path is resolved once; the listing is taken
// once and then kept up to date with the names handed out, so the folder must not be changed
// by anyone else while the object is in use.
class ResolvedFolder {
 public:
  explicit ResolvedFolder(const std::string& folder);

  // The path of `name` in the folder, resolved as ResolvePath does: an entry of that exact
  // name, else the first in byte order that matches without regard to case, else the name as
  // given (which later calls then find).
  std::string PathOf(std::string_view name);
  // Whether the folder has an entry of that name, compared without regard to case (the names
  // handed out by PathOf count as entries).
  bool Holds(std::string_view name) const;

  // The folder, resolved, ending in the separator.
  const std::string& Path() const { return path_; }

 private:
  // A name of the folder and its upper-case form, side by side in text_.
  struct Entry {
    std::size_t Start = 0;
    std::size_t Length = 0;
  };
  std::string_view NameOf(std::uint32_t entry) const;
  std::string_view FoldedOf(std::uint32_t entry) const;
  // The slot of an upper-case name: the one holding it, or the empty one where it would go.
  std::size_t SlotOf(std::string_view folded) const;
  void Add(std::string_view name);
  void Grow();

  std::string path_;
  // A folder may hold a hundred thousand BMPs and is listed once per sprite converted into it,
  // so the names share one buffer and one table instead of a node each.
  std::string text_;
  std::vector<Entry> entries_;
  // Open addressing on the upper-case names: entry + 1, or 0 for an empty slot. Each
  // upper-case name has one slot, held by its spelling first in byte order.
  std::vector<std::uint32_t> slots_;
  // The other spellings (rare): entries whose upper-case name another entry holds the slot of.
  std::vector<std::uint32_t> otherSpellings_;
};

}  // namespace zorvane::platform
