#pragma once

#include "win/Scale.h"

#include <array>
#include <cstddef>

// The ten slots of the toolbar, by position; a slot's command identifier is its position.
enum class SlotKind { WholeDropDown, Separator, Button, DropDownButton };

struct ToolbarSlot {
    SlotKind kind;
    int width;
    int bitmap; // resource number of the button's picture, 0 for separators
};

inline constexpr int MessageSlot = 1;
inline constexpr int TextViewSlot = 2;
inline constexpr int CounterSlot = 3;
inline constexpr int RecipientSlot = 4;
inline constexpr int AddressBookSlot = 5;
inline constexpr int ReceiptSlot = 6;
inline constexpr int DelayedSendSlot = 7;
inline constexpr int SendSlot = 8;
inline constexpr int CreditSlot = 9;

inline constexpr std::array<ToolbarSlot, 10> ToolbarSlots = {{
    {SlotKind::WholeDropDown, 110, 237},
    {SlotKind::Separator, 300, 0},
    {SlotKind::Button, 25, 221},
    {SlotKind::Separator, 50, 0},
    {SlotKind::Separator, 120, 0},
    {SlotKind::DropDownButton, 40, 233},
    {SlotKind::Separator, 80, 0},
    {SlotKind::Button, 30, 231},
    {SlotKind::Button, 80, 215},
    {SlotKind::Separator, 75, 0},
}};

// The band asks the browser for this much: the fixed slots and 115 pixels of message box.
inline constexpr int BandMinWidth = 725;
inline constexpr int BandIdealWidth = 990;
inline constexpr int BandHeight = 25;
// A button: an 18-pixel picture and 3 pixels above and below it.
inline constexpr int ButtonHeight = 24;
// The delivery-receipt switch's box, before its text.
inline constexpr int CheckBoxWidth = 13;

// A slot's width at the display's scale.
constexpr int SlotWidth(int slot, int dpi) {
    return Scaled(ToolbarSlots[static_cast<std::size_t>(slot)].width, dpi);
}

// Everything but the message box's slot: the box takes whatever width is left.
constexpr int FixedSlotsWidth(int dpi) {
    int sum = 0;
    for (int i = 0; i < static_cast<int>(ToolbarSlots.size()); ++i) {
        sum += i == MessageSlot ? 0 : SlotWidth(i, dpi);
    }
    return sum;
}

// Width of the message box's slot in a toolbar of the given width; never negative.
constexpr int MessageSlotWidth(int toolbarWidth, int dpi) {
    const int fixed = FixedSlotsWidth(dpi);
    return toolbarWidth > fixed ? toolbarWidth - fixed : 0;
}
