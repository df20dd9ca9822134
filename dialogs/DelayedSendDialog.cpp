#include "dialogs/DelayedSendDialog.h"

#include "res/resource.h"
#include "win/Text.h"

#include <oleauto.h>

#include <climits>
#include <optional>
#include <string>
#include <tuple>

namespace {

// FILETIME counts 100-nanosecond steps from 1601-01-01 UTC, calendar time seconds from 1970.
constexpr long long TicksPerSecond = 10'000'000;
constexpr long long EpochTicks = 116'444'736'000'000'000;

std::optional<SYSTEMTIME> LocalTimeOf(std::time_t moment) {
    if (moment < -EpochTicks / TicksPerSecond ||
        moment > (LLONG_MAX - EpochTicks) / TicksPerSecond) {
        return std::nullopt;
    }
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>(moment * TicksPerSecond + EpochTicks);
    const FILETIME file{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&file, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::nullopt;
    }
    return local;
}

// The system decides the daylight-saving offset for the given date; it is not forced.
std::optional<std::time_t> TimeOfLocal(const SYSTEMTIME& local) {
    SYSTEMTIME utc;
    FILETIME file;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &file)) {
        return std::nullopt;
    }
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    return static_cast<std::time_t>((static_cast<long long>(ticks.QuadPart) - EpochTicks) /
                                    TicksPerSecond);
}

auto DayOf(const SYSTEMTIME& time) {
    return std::tie(time.wYear, time.wMonth, time.wDay);
}

} // namespace

DelayedSendDialog::DelayedSendDialog(std::time_t& sendTime, HWND parent)
    : Dialog(IDD_DELAYEDSEND, parent, ICC_DATE_CLASSES), sendTime(sendTime) {}

INT_PTR DelayedSendDialog::Run() {
    return RunModal();
}

bool DelayedSendDialog::OnInitDialog() {
    HWND date = Item(IDC_SEND_DATE);
    HWND time = Item(IDC_SEND_TIME);
    // No day before today is offered; the range stays open at its upper end.
    SYSTEMTIME range[2] = {};
    GetLocalTime(&range[0]);
    SendMessageA(date, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(range));
    if (const std::optional<SYSTEMTIME> shown = LocalTimeOf(sendTime)) {
        SendMessageA(date, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&*shown));
        SendMessageA(time, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&*shown));
    }
    return true;
}

bool DelayedSendDialog::OnCommand(int id, int) {
    if (id == IDOK) {
        Accept();
        return true;
    }
    if (id == IDCANCEL) {
        End(IDCANCEL);
        return true;
    }
    return false;
}

void DelayedSendDialog::Accept() {
    SYSTEMTIME day, clock;
    if (SendMessageA(Item(IDC_SEND_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&day)) !=
            GDT_VALID ||
        SendMessageA(Item(IDC_SEND_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&clock)) !=
            GDT_VALID) {
        return;
    }
    // The date comes from the date picker and the time of day from the time picker alone.
    SYSTEMTIME chosen = day;
    chosen.wHour = clock.wHour;
    chosen.wMinute = clock.wMinute;
    chosen.wSecond = clock.wSecond;
    chosen.wMilliseconds = 0;
    if (const std::optional<std::time_t> moment = TimeOfLocal(chosen)) {
        sendTime = *moment;
        End(IDOK);
    }
}

bool DelayedSendDialog::OnNotify(NMHDR* header) {
    if (header->idFrom != IDC_SEND_DATE) {
        return false;
    }
    if (header->code == DTN_USERSTRINGA) {
        auto* typed = reinterpret_cast<NMDATETIMESTRINGA*>(header);
        ReadTypedDate(Widen(typed->pszUserString), typed->st);
        typed->dwFlags = GDT_VALID;
        return true;
    }
    if (header->code == DTN_USERSTRINGW) {
        auto* typed = reinterpret_cast<NMDATETIMESTRINGW*>(header);
        ReadTypedDate(typed->pszUserString, typed->st);
        typed->dwFlags = GDT_VALID;
        return true;
    }
    return false;
}

void DelayedSendDialog::ReadTypedDate(std::wstring typed, SYSTEMTIME& date) const {
    // A text that is no date in the user's format, or a day before the earliest one offered,
    // leaves the date as it was.
    HWND picker = Item(IDC_SEND_DATE);
    SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    DATE value = 0;
    SYSTEMTIME parsed;
    if (FAILED(VarDateFromStr(typed.data(), LOCALE_USER_DEFAULT, 0, &value)) ||
        !VariantTimeToSystemTime(value, &parsed)) {
        return;
    }
    SYSTEMTIME range[2] = {};
    if ((SendMessageA(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)) & GDTR_MIN) &&
        DayOf(parsed) < DayOf(range[0])) {
        return;
    }
    date.wYear = parsed.wYear;
    date.wMonth = parsed.wMonth;
    date.wDay = parsed.wDay;
    date.wDayOfWeek = parsed.wDayOfWeek;
}
