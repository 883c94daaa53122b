#pragma once
// Text crossing between the core and Qt. Both hold UTF-16 code units, so the conversion
// copies units one for one: nothing is validated, normalised or replaced, and a lone
// surrogate a person pasted reaches the core exactly as it was typed.

#include <QString>

#include "toolkit/text.h"

namespace pelmora {

inline QString toQString(const Text& text) { return QString::fromStdU16String(text); }
inline Text toText(const QString& text) { return text.toStdU16String(); }

} // namespace pelmora
