#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How the recipient picker opens on the recipient box's text: the contacts whose phone stands
// in the text are chosen, every other piece of the text is a typed recipient of its own.
struct RecipientChoice {
    std::vector<int> contacts;      // store indices of the contacts not chosen, in store order
    std::vector<int> chosen;        // store indices of the chosen contacts, in store order
    std::vector<std::string> typed; // the pieces no contact took, in the text's order
};

// recipients: the text, split at ";" with empty pieces dropped, pieces kept exactly as they
// are (blanks too) and a repeated piece kept once. phones: each stored contact's store index
// and phone, in store order. A piece equal to a phone chooses the first contact with it only.
RecipientChoice ChooseRecipients(std::string_view recipients,
                                 const std::vector<std::pair<int, std::string>>& phones);
