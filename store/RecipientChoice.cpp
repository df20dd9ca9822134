#include "store/RecipientChoice.h"

#include <algorithm>

RecipientChoice ChooseRecipients(std::string_view recipients,
                                 const std::vector<std::pair<int, std::string>>& phones) {
    RecipientChoice choice;
    std::vector<std::string>& pieces = choice.typed;
    while (!recipients.empty()) {
        const std::size_t end = std::min(recipients.find(';'), recipients.size());
        const std::string piece(recipients.substr(0, end));
        if (!piece.empty() && std::find(pieces.begin(), pieces.end(), piece) == pieces.end()) {
            pieces.push_back(piece);
        }
        recipients.remove_prefix(std::min(end + 1, recipients.size()));
    }
    for (const auto& [index, phone] : phones) {
        const auto piece = std::find(pieces.begin(), pieces.end(), phone);
        if (piece == pieces.end()) {
            choice.contacts.push_back(index);
        } else {
            pieces.erase(piece);
            choice.chosen.push_back(index);
        }
    }
    return choice;
}
