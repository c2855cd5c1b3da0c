#include "AddressHistory.h"

#include "IniFile.h"
#include "RecordTable.h"
#include "StorageNames.h"

#include <QComboBox>

namespace AddressHistory {

void FillAddressList(QComboBox& addressBox, RecordTable& database, const IniFile& settings)
{
    QStringList addresses;
    database.ReadColumn(addresses, Tables::History, Columns::Address);
    for (auto it = addresses.crbegin(); it != addresses.crend(); ++it)
        addressBox.addItem(*it);
    addressBox.setEditText(settings.Read(Settings::LastBrowserAddress));
}

void RecordAddress(QComboBox& addressBox, RecordTable& database, const IniFile& settings)
{
    const QString address = addressBox.currentText();
    if (!database.Exists(Tables::History, Columns::Address, QStringLiteral("地址=?"), {address})) {
        database.Insert(Tables::History, Columns::Address, {address});
        // Adding an entry may change the box's text; the address typed stays on show.
        addressBox.addItem(address);
        if (addressBox.count() > ListLimit) {
            const QString oldest = addressBox.itemText(0);
            addressBox.removeItem(0);
            database.Delete(Tables::History, QStringLiteral("地址=?"), {oldest});
        }
        addressBox.setEditText(address);
    }
    settings.Write(Settings::LastBrowserAddress, address);
}

} // namespace AddressHistory
