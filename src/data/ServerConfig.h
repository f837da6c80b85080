#pragma once

#include "data/ConnectionSettings.h"

#include <QString>

#include <optional>

namespace talveros::data {

// A deployment's own server: the administrator's machine configuration, read once at
// start and never written by the program. Without the file the compiled-in defaults hold.
inline constexpr auto kServerConfigPath = "/etc/talveros/server.conf";

struct ServerConfigError {
    int line = 0; // 0: the file as a whole
    QString message;
};

struct ServerConfig {
    ServerSettings settings;
    std::optional<ServerConfigError> error;
    int caLine = 0; // where ca was set, for a complaint about the file it names
};

// One "key = value" a line; '#' starts a comment, blank lines are ignored. Every key at
// most once; anything unknown or malformed is an error of its line, never a guess.
ServerConfig parseServerConfig(const QString &text, const ServerSettings &defaults);

// The file at path, parsed, with the certificate authority it names checked as well. A
// missing file means the defaults; one that exists but cannot be read is an error.
ServerConfig readServerConfig(const QString &path, const ServerSettings &defaults);

// The box that stops the program: the file, the line and what is wrong with it.
QString serverConfigErrorText(const QString &path, const ServerConfigError &error);

} // namespace talveros::data
