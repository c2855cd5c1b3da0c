#pragma once

class IniFile;
class QComboBox;
class RecordTable;

// The addresses typed into the browser's address box: table 历史地址, the box's drop-down list
// (at most 30 as addresses are added) and the last one, saved for the next opening.
namespace AddressHistory {

constexpr int ListLimit = 30;

// The drop-down list from the table, the most recently stored first; the text is the last address.
void FillAddressList(QComboBox& addressBox, RecordTable& database, const IniFile& settings);

// Remembers the box's text: stored and listed when new (dropping the oldest entry past the
// limit, in the table too), and saved as the last address in any case.
void RecordAddress(QComboBox& addressBox, RecordTable& database, const IniFile& settings);

} // namespace AddressHistory
