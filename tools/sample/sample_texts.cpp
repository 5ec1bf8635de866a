#include "sample/sample_texts.h"

#include <array>
#include <string_view>

#include "sample/picture.h"

namespace zorvane::sample {

namespace {

constexpr std::string_view kCrLf = "\r\n";

template <std::size_t N>
std::string_view Pick(const std::array<std::string_view, N>& words, int number, int salt) {
  return words[Hash(static_cast<std::uint32_t>(number), static_cast<std::uint32_t>(salt), 17) % N];
}

}  // namespace

std::string TextMember(const std::string& name) {
  std::string text;
  if (name == "STRINGS") {
    for (std::string_view line : {"New Campaign", "Load Scenario", "Save Game", "Options",
                                  "Quit to Desktop", "Victory!", "Defeat.", "End Turn"}) {
      text += line;
      text += kCrLf;
    }
  } else if (name == "TERRAIN") {
    for (std::string_view line :
         {"Clear", "Beach", "Reef", "Fort", "Coast", "Roads", "River", "City", "Island", "Mountain",
          "Lake", "Desert", "Farm/Field", "Desert Mountain"}) {
      text += line;
      text += kCrLf;
    }
  } else {
    text += "Move a unit by selecting it and clicking a highlighted hex.";
    text += kCrLf;
    text += "Units that have not moved may attack an adjacent enemy.";
    text += kCrLf;
    text += "Supply reaches units within five hexes of a friendly city.";
    text += kCrLf;
  }
  return text;
}

std::string UnitDescription(int number) {
  static constexpr std::array<std::string_view, 8> kClasses{"Infantry",   "Marines",   "Light Tank",
                                                            "Heavy Tank", "Artillery", "Fighter",
                                                            "Bomber",     "Destroyer"};
  static constexpr std::array<std::string_view, 6> kNations{"US",         "Japanese", "British",
                                                            "Australian", "Dutch",    "Chinese"};
  static constexpr std::array<std::string_view, 6> kRemarks{
      "Veteran crews give it an edge in close combat.",
      "Reliable in the jungle, slow on open ground.",
      "Early production models suffered from poor armour.",
      "Best used together with supporting artillery.",
      "Its long range makes up for a light payload.",
      "Cheap to build and quick to replace."};
  const std::string_view unitClass = Pick(kClasses, number, 1);
  std::string text;
  text += std::string(Pick(kNations, number, 2)) + " " + std::string(unitClass) + " Mk " +
          std::to_string(1 + number % 4);
  text += kCrLf;
  text += "Class: " + std::string(unitClass) + ". Cost " + std::to_string(8 + number % 30) +
          ", Attack " + std::to_string(2 + number % 9) + ", Defence " +
          std::to_string(1 + number % 7) + ", Move " + std::to_string(1 + number % 6) + ".";
  text += kCrLf;
  text += Pick(kRemarks, number, 3);
  text += kCrLf;
  return text;
}

}  // namespace zorvane::sample
