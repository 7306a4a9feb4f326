// Virtual key codes carried by key events (the values desktop toolkits use), and the
// gesture rules every platform shares.
#pragma once

#include <cstdint>

namespace fmx {

namespace vk {
constexpr uint16_t Back = 0x08;
constexpr uint16_t Tab = 0x09;
constexpr uint16_t Return = 0x0D;
constexpr uint16_t Shift = 0x10;
constexpr uint16_t Control = 0x11;
constexpr uint16_t Menu = 0x12;  // Alt
constexpr uint16_t Escape = 0x1B;
constexpr uint16_t Space = 0x20;
constexpr uint16_t Prior = 0x21;  // Page Up
constexpr uint16_t Next = 0x22;   // Page Down
constexpr uint16_t End = 0x23;
constexpr uint16_t Home = 0x24;
constexpr uint16_t Left = 0x25;
constexpr uint16_t Up = 0x26;
constexpr uint16_t Right = 0x27;
constexpr uint16_t Down = 0x28;
constexpr uint16_t Insert = 0x2D;
constexpr uint16_t Delete = 0x2E;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
constexpr uint16_t F1 = 0x70;  // F1..F12 are F1 + n
constexpr uint16_t F2 = F1 + 1;
constexpr uint16_t F4 = F1 + 3;
constexpr uint16_t F5 = F1 + 4;
constexpr uint16_t F10 = F1 + 9;
constexpr uint16_t F12 = F1 + 11;
}  // namespace vk

}  // namespace fmx
