#pragma once

#include <QString>

// A failure told in Chinese: what failed, why in plain words and what the user can do, with the
// library's own (often English) text after it for whoever has to look further.
namespace FailureExplanation {

// "<what>\n\n详细信息：<detail>"; just <what> when there is no detail.
QString WithDetail(const QString& what, const QString& detail);

// "<what>：<cause>。<advice>" from a libpq or server message, then the detail.
QString Server(const QString& what, const QString& serverMessage);

// The Secret Service refused or did not answer. Reading a key the collection needs cannot be
// mended by switching protection; storing one can.
QString KeyringRead(const QString& keyringMessage);
QString KeyringWrite(const QString& keyringMessage);
QString KeyringServerPassword(const QString& keyringMessage);

} // namespace FailureExplanation
