// Sums of the accumulator blocks over sets of tax codes: G (tax-inclusive,
// Komi), N (net, Nuki) and T (tax, Zei) of one rate slot.
#pragma once

#include <array>
#include <initializer_list>

#include "tax/taxcodes.h"
#include "tax/taxpar.h"

namespace taxsums {

template <typename Codes>
Currency SumBlock(const TaxBlock& block, int slot, const Codes& codes) {
  Currency sum;
  for (int code : codes) sum += block[static_cast<std::size_t>(slot)][static_cast<std::size_t>(TaxCodeToCategory(code))];
  return sum;
}

template <typename Codes>
Currency G(const TTAXPAR& p, int s, const Codes& codes) { return SumBlock(p.Komi, s, codes); }
template <typename Codes>
Currency N(const TTAXPAR& p, int s, const Codes& codes) { return SumBlock(p.Nuki, s, codes); }
template <typename Codes>
Currency T(const TTAXPAR& p, int s, const Codes& codes) { return SumBlock(p.Zei, s, codes); }
inline Currency G(const TTAXPAR& p, int s, std::initializer_list<int> codes) { return SumBlock(p.Komi, s, codes); }
inline Currency N(const TTAXPAR& p, int s, std::initializer_list<int> codes) { return SumBlock(p.Nuki, s, codes); }
inline Currency T(const TTAXPAR& p, int s, std::initializer_list<int> codes) { return SumBlock(p.Zei, s, codes); }

// Code sets of the current forms.
inline constexpr std::array<int, 14> kS = {110, 111, 112, 113, 114, 115, 116, 610, 611, 612, 613, 614, 615, 616};
inline constexpr std::array<int, 14> kR = {310, 311, 312, 313, 314, 315, 316, 630, 631, 632, 633, 634, 635, 636};
inline constexpr std::array<int, 6> kP = {511, 512, 513, 711, 712, 713};
inline constexpr std::array<int, 6> kPR = {561, 562, 563, 761, 762, 763};
inline constexpr std::array<int, 6> kM = {521, 522, 523, 721, 722, 723};
inline constexpr std::array<int, 6> kMR = {571, 572, 573, 771, 772, 773};
inline constexpr std::array<int, 3> kMN = {724, 725, 726};
inline constexpr std::array<int, 3> kMNR = {774, 775, 776};
inline constexpr std::array<int, 6> kA = {531, 532, 533, 731, 732, 733};
inline constexpr std::array<int, 3> kRC = {551, 552, 553};
inline constexpr std::array<int, 3> kRCR = {581, 582, 583};
inline constexpr std::array<int, 6> kPt = {511, 711, 521, 721, 531, 731};
inline constexpr std::array<int, 4> kPtr = {561, 761, 571, 771};
inline constexpr std::array<int, 6> kPc = {512, 712, 522, 722, 532, 732};
inline constexpr std::array<int, 4> kPcr = {562, 762, 572, 772};
inline constexpr std::array<int, 2> kBR = {210, 620};
inline constexpr std::array<int, 2> kD = {410, 640};

}  // namespace taxsums
