#pragma once

#include <QByteArray>

// The skin the program carries: a style sheet behind a ".SHE" header.
QByteArray CarriedSkin();

// Gives every window of the program the skin. The style engine is set up once (engineLoaded
// records it); later calls only apply the skin again. Data without the header leaves the windows
// as they are. Never fails visibly: the result is always true.
bool SkinAttach(const QByteArray& skin, bool& engineLoaded);
