#pragma once

#include "win/Dialog.h"

#include <ctime>
#include <string>

// "Zpožděné odeslání": the date and the time of day at which the gateway is to deliver the
// message, shown and entered as local time. Whether the moment has passed is for the send
// run to judge, not this dialog.
class DelayedSendDialog : public Dialog {
public:
    // sendTime: the caller's moment, shown at opening and replaced by the chosen one on OK.
    DelayedSendDialog(std::time_t& sendTime, HWND parent);

    // IDOK with the chosen moment in the caller's value; IDCANCEL with the value unchanged.
    INT_PTR Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(NMHDR* header) override;

private:
    void Accept();
    void ReadTypedDate(std::wstring typed, SYSTEMTIME& date) const;

    std::time_t& sendTime;
};
