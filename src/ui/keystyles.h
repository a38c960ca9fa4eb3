// The keys with which a control hands the focus on, the reasons for leaving a
// field automatically, and the input-method modes of the controls. One
// declaration serves the numeric edit and every key-navigation control.
#pragma once

#include <cstdint>

enum TKeyStyle : std::uint8_t { ksEnter, ksLeft, ksUp, ksRight, ksDown };
// Set of TKeyStyle: bit 0 ksEnter … bit 4 ksDown.
using TKeyStyles = std::uint8_t;
constexpr TKeyStyles KeyStyleBit(TKeyStyle s) { return static_cast<TKeyStyles>(1u << s); }
constexpr TKeyStyles kKeyStylesMask = 0x1F;
constexpr TKeyStyles kDefaultKeyStyles = KeyStyleBit(ksEnter) | KeyStyleBit(ksUp);  // 5
constexpr bool Has(TKeyStyles set, TKeyStyle s) { return (set & KeyStyleBit(s)) != 0; }

enum TAutoNextCtl : std::uint8_t { acMaxLength, acTabKey, acDownKey, acSendEnter };
using TAutoNextCtls = std::uint8_t;
constexpr TAutoNextCtls AutoNextBit(TAutoNextCtl a) { return static_cast<TAutoNextCtls>(1u << a); }
constexpr TAutoNextCtls kAutoNextMask = 0x0F;
constexpr bool Has(TAutoNextCtls set, TAutoNextCtl a) { return (set & AutoNextBit(a)) != 0; }

// Input-method modes. imDisable also switches off paste and the context menu
// of the edits whose paste guard is on.
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel, imHanguel };
