// Where the toolbar's boxes and labels sit: each in its slot, the message box's slot taking the
// width the others leave, every size at the display's scale.
#include "toolbar/SmsToolbar.h"

#include "toolbar/ToolbarSlots.h"
#include "win/Scale.h"

#include <commctrl.h>

#include <algorithm>

RECT SmsToolbar::SlotRect(int slot) const {
    RECT rect{};
    SendMsg(TB_GETITEMRECT, slot, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void SmsToolbar::PlaceBox(HistoryCombo& box, const RECT& slot) {
    if (!box.Exists()) {
        return;
    }
    RECT current{};
    GetWindowRect(box.Handle(), &current);
    int height = current.bottom - current.top;
    int slotHeight = slot.bottom - slot.top;
    // The box's own height is its closed height; the window below it is room for the list.
    MoveWindow(box.Handle(), slot.left, slot.top + (slotHeight - height) / 2,
               slot.right - slot.left, slotHeight * 10, TRUE);
}

void SmsToolbar::LayOut(int width) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(MessageSlotWidth(width, dpi));
    SendMsg(TB_SETBUTTONINFOA, MessageSlot, reinterpret_cast<LPARAM>(&info));

    PlaceBox(messageBox, SlotRect(MessageSlot));
    PlaceBox(recipientBox, SlotRect(RecipientSlot));
    const std::pair<Window*, std::pair<int, int>> labels[] = {
        {&counterLabel, {CounterSlot, 3}},
        {&receiptSwitch, {ReceiptSlot, 5}},
        {&creditLabel, {CreditSlot, 10}},
    };
    for (const auto& [control, place] : labels) {
        if (!control->Exists()) {
            continue;
        }
        RECT slot = SlotRect(place.first);
        slot.left += control == &receiptSwitch ? SwitchIndent(slot) : Scaled(place.second, dpi);
        MoveWindow(control->Handle(), slot.left, slot.top, slot.right - slot.left,
                   slot.bottom - slot.top, TRUE);
    }
}

int SmsToolbar::SwitchIndent(const RECT& slot) const {
    // The font's width does not follow the scale exactly: where the check box and "doručenka"
    // need more than the slot leaves after the gap, the gap gives way to them.
    WindowDc dc(receiptSwitch.Handle());
    SelectedObject font(dc.Get(), labelFont.get());
    SIZE text{};
    SIZE digit{};
    GetTextExtentPoint32A(dc.Get(), "doručenka", 9, &text);
    GetTextExtentPoint32A(dc.Get(), "0", 1, &digit);
    const int room = slot.right - slot.left - (Scaled(CheckBoxWidth, dpi) + digit.cx / 2 + text.cx);
    return std::clamp(room, 0, Scaled(5, dpi));
}
