#pragma once

#include <QByteArray>

#include <array>

namespace velmora {

/// The numbers of the text resources, in loading order; each is carried as
/// ":/texts/<number>".
inline constexpr std::array<int, 12> kTextResourceNumbers = {100, 101, 102, 103, 104, 105,
                                                             106, 107, 108, 109, 110, 200};

/// The bytes of a text resource, padding included; empty when it is absent.
QByteArray textResource(int number);

/// True when the text resource is carried at all.
bool hasTextResource(int number);

} // namespace velmora
