#include "toolbar/HistoryCombo.h"

#include "store/HistorySection.h"
#include "store/Settings.h"
#include "toolbar/SmsCounter.h"
#include "toolbar/ToolbarHost.h"
#include "win/Text.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int TextLimit = 1440;

} // namespace

bool HistoryCombo::Create(HWND parent) {
    const RECT initial{0, 0, 300, 150};
    if (!Window::Create(0, WC_COMBOBOXEXA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | CBS_DROPDOWN |
                            CBS_AUTOHSCROLL,
                        initial, parent)) {
        return false;
    }
    editField = reinterpret_cast<HWND>(SendMsg(CBEM_GETEDITCONTROL));
    SendMessageA(editField, EM_LIMITTEXT, TextLimit, 0);
    SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

HWND HistoryCombo::ComboWindow() const {
    return reinterpret_cast<HWND>(SendMsg(CBEM_GETCOMBOCONTROL));
}

bool HistoryCombo::IsListOpen() const {
    return Exists() && SendMessageA(ComboWindow(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool HistoryCombo::HasFocus() const {
    if (!Exists()) {
        return false;
    }
    HWND focus = GetFocus();
    return focus && (focus == EditWindow() || focus == Handle() || focus == ComboWindow());
}

std::string HistoryCombo::Text() const {
    return WindowText(editField);
}

void HistoryCombo::SetText(const std::string& text) {
    SetWindowTextA(editField, text.c_str());
}

int HistoryCombo::EntryCount() const {
    return static_cast<int>(SendMsg(CB_GETCOUNT));
}

std::string HistoryCombo::Entry(int index) const {
    // The box gives no length of an entry: the buffer grows until the text stops short of
    // its end. One byte past what the box may fill keeps the text terminated.
    std::vector<char> text(1024);
    for (;;) {
        std::fill(text.begin(), text.end(), '\0');
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size() - 1);
        if (!SendMsg(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
            return {};
        }
        const std::size_t length = std::strlen(text.data());
        if (length + 2 < text.size()) {
            return std::string(text.data(), length);
        }
        text.resize(text.size() * 2);
    }
}

void HistoryCombo::InsertEntry(int index, const std::string& text) {
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    SendMsg(CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void HistoryCombo::LoadHistory(const Settings& source, HistoryKind kind) {
    const std::string section =
        kind == HistoryKind::Text ? source.ReadTextHistory() : source.ReadRecipientHistory();
    for (const std::string& entry : ParseHistorySection(section)) {
        InsertEntry(EntryCount(), entry);
    }
}

void HistoryCombo::SaveHistory(const Settings& source, HistoryKind kind, const std::string& added) {
    source.Locked([&] {
        while (EntryCount() > 0 && SendMsg(CBEM_DELETEITEM, 0) != CB_ERR) {
        }
        LoadHistory(source, kind);
        if (!added.empty()) {
            PushHistory(added);
        }
        std::vector<std::string> entries;
        for (int i = 0; i < EntryCount() && entries.size() < MaxHistoryEntries; ++i) {
            entries.push_back(Entry(i));
        }
        const std::string section = BuildHistorySection(entries);
        if (kind == HistoryKind::Text) {
            source.WriteTextHistory(section);
        } else {
            source.WriteRecipientHistory(section);
        }
    });
}

void HistoryCombo::PushHistory(const std::string& text) {
    for (;;) {
        auto equal = static_cast<int>(SendMsg(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(text.c_str())));
        if (equal == CB_ERR || SendMsg(CBEM_DELETEITEM, equal) == CB_ERR) {
            break;
        }
    }
    InsertEntry(0, text);
    SetText("");
}

void HistoryCombo::UpdateCounter() {
    if (!counterLabel) {
        return;
    }
    const std::string nick = settings ? settings->Nick : std::string();
    SetWindowTextA(counterLabel->Handle(), CounterText(Text(), nick).c_str());
}

int HistoryCombo::ForwardKey(MSG* message) {
    if (message->wParam == VK_TAB) {
        return 1;
    }
    TranslateMessage(message);
    DispatchMessageA(message);
    UpdateWindow(Handle());
    return 0;
}

LRESULT HistoryCombo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case ReflectedCommand:
        if (HIWORD(wParam) == CBN_EDITCHANGE) {
            UpdateCounter();
        }
        return 0;
    case ReflectedNotify:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == CBEN_BEGINEDIT && host) {
            host->FocusChange(true);
        }
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}
