#pragma once

#include <QString>

#include <stdexcept>

namespace talveros::platform {

// A failure whose description is meant for the administrator as it stands (a printer
// that refused, a value that is no number). Anything else that reaches an action's
// boundary is a fault of the program and is reported as one.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString &text) : std::runtime_error(text.toStdString()) {}
};

} // namespace talveros::platform
