#pragma once

#include "win/Window.h"

#include <string>

class Settings;
class ToolbarHost;

// Which section of settings.ini keeps a box's list.
enum class HistoryKind { Text, Recipient };

// One of the toolbar's two one-line boxes with a drop-down list of earlier entries, the most
// recent on top: an extended combo box whose edit field takes the typing. The message box
// also keeps the counter label up to date.
class HistoryCombo : public Window {
public:
    // The toolbar hands a box's own WM_COMMAND and WM_NOTIFY back to the box as these, with
    // the same parameters.
    static constexpr UINT ReflectedCommand = WM_APP + 1;
    static constexpr UINT ReflectedNotify = WM_APP + 2;

    bool Create(HWND parent);
    // The host hears when the user starts editing the box.
    void SetHost(ToolbarHost* owner) { host = owner; }
    // The label that shows what the text takes; the nickname is part of the count.
    void SetCounter(Window* label, const Settings* source) {
        counterLabel = label;
        settings = source;
    }

    HWND EditWindow() const { return editField; }
    HWND ComboWindow() const;
    bool IsListOpen() const;
    // Whether the keyboard focus is in the box, its edit field or its combo box.
    bool HasFocus() const;

    std::string Text() const;
    void SetText(const std::string& text);
    int EntryCount() const;
    std::string Entry(int index) const;

    void LoadHistory(const Settings& source, HistoryKind kind);
    // Puts the text, unless empty, on top of the list as settings.ini holds it now (other
    // windows add to it too), as PushHistory does, and writes the list back, at most its 11
    // most recent entries.
    void SaveHistory(const Settings& source, HistoryKind kind, const std::string& added);
    // Puts the text on top of the list in place of every entry equal to it but for letter
    // case, and empties the box.
    void PushHistory(const std::string& text);
    void UpdateCounter();

    // Hands a key the browser offered to the toolbar on to the box: 1 for Tab, which is left
    // to the caller; every other key is dispatched to its window and gives 0.
    virtual int ForwardKey(MSG* message);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void InsertEntry(int index, const std::string& text);

    ToolbarHost* host = nullptr;
    Window* counterLabel = nullptr;
    const Settings* settings = nullptr;
    HWND editField = nullptr;
};
