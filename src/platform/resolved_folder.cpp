#include "platform/resolved_folder.h"

#include <functional>

#include "platform/folder_entries.h"
#include "platform/number_text.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

constexpr std::size_t kFirstSlots = 64;

void AppendUpperCase(std::string& text, std::string_view name) {
  for (char c : name) text += AsciiUpper(c);
}

}  // namespace

ResolvedFolder::ResolvedFolder(const std::string& folder)
    : path_(WithTrailingSeparator(ResolvePath(folder))), slots_(kFirstSlots, 0) {
  ForEachFolderEntry(path_, [this](std::string_view name, EntryKind) { Add(name); });
}

std::string_view ResolvedFolder::NameOf(std::uint32_t entry) const {
  return std::string_view(text_).substr(entries_[entry].Start, entries_[entry].Length);
}

std::string_view ResolvedFolder::FoldedOf(std::uint32_t entry) const {
  return std::string_view(text_).substr(entries_[entry].Start + entries_[entry].Length,
                                        entries_[entry].Length);
}

std::size_t ResolvedFolder::SlotOf(std::string_view folded) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = std::hash<std::string_view>{}(folded)&mask;; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0 || FoldedOf(slots_[slot] - 1) == folded) return slot;
  }
}

void ResolvedFolder::Grow() {
  std::vector<std::uint32_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  for (std::uint32_t holder : old) {
    if (holder != 0) slots_[SlotOf(FoldedOf(holder - 1))] = holder;
  }
}

void ResolvedFolder::Add(std::string_view name) {
  // Half the slots at most are taken, so that a search ends soon.
  if (2 * (entries_.size() + 1) > slots_.size()) Grow();
  const auto entry = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back({text_.size(), name.size()});
  text_ += name;
  AppendUpperCase(text_, name);
  std::uint32_t& holder = slots_[SlotOf(FoldedOf(entry))];
  if (holder == 0) {
    holder = entry + 1;
  } else if (name < NameOf(holder - 1)) {
    otherSpellings_.push_back(holder - 1);
    holder = entry + 1;
  } else {
    otherSpellings_.push_back(entry);
  }
}

bool ResolvedFolder::Holds(std::string_view name) const {
  return slots_[SlotOf(UpperCase(name))] != 0;
}

std::string ResolvedFolder::PathOf(std::string_view name) {
  const std::string folded = UpperCase(name);
  const std::uint32_t holder = slots_[SlotOf(folded)];
  if (holder == 0) {
    Add(name);
    return path_ + std::string(name);
  }
  if (NameOf(holder - 1) != name) {
    for (std::uint32_t other : otherSpellings_) {
      if (NameOf(other) == name) return path_ + std::string(name);
    }
  }
  return path_ + std::string(NameOf(holder - 1));
}

}  // namespace zorvane::platform
