#pragma once

#include "win/Dialog.h"
#include "win/Handles.h"

#include <array>
#include <string>
#include <vector>

class Settings;

// "Vybrat adresáta": the contacts of the local address book on the left, what the message goes
// to on the right. It opens on the recipient box's text and, on OK, gives back the chosen
// numbers each followed by ";". It reads the store and never writes it.
class RecipientPickerDialog : public Dialog {
public:
    RecipientPickerDialog(const Settings& settings, std::string& recipients, HWND parent);

    // IDOK with the new text in recipients, IDCANCEL with it untouched.
    INT_PTR Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    // A contact of the store, or a recipient typed into the box (store index -1, its text in
    // column 0). The lists' item data is the row's place in rows.
    struct Row {
        int storeIndex;
        std::array<std::string, 4> columns; // first name, surname, phone, e-mail
    };

    void AddRow(HWND list, int position, std::size_t row);
    void Move(int from, int to);
    void Accept();

    const Settings& settings;
    std::string& recipients;
    ImageListHandle images;
    std::vector<Row> rows;
};
