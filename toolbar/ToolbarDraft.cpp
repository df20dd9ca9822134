// The draft of SmsToolbar: a message or recipients typed but not sent outlive the browser
// window. The last toolbar closed with text in its boxes wins.
#include "toolbar/SmsToolbar.h"

void SmsToolbar::LoadDraft() {
    const Draft draft = settings.ReadDraft();
    draftShown = !draft.Empty();
    // An empty box is left untouched: setting its text would change the counter's first words.
    if (!draft.text.empty()) {
        messageBox.SetText(draft.text);
        messageBox.UpdateCounter();
    }
    if (!draft.recipients.empty()) {
        recipientBox.SetText(draft.recipients);
    }
}

void SmsToolbar::SaveDraft() {
    if (!messageBox.Exists() || !recipientBox.Exists()) {
        return;
    }
    const Draft draft{messageBox.Text(), recipientBox.Text()};
    // Empty boxes clear only the draft they were given (sent or emptied by the user); a
    // toolbar that never showed it leaves another window's draft alone.
    if (!draft.Empty() || draftShown) {
        settings.WriteDraft(draft);
    }
}
