#pragma once

namespace talveros::platform {

// Who the program belongs to, as its windows name it.
inline constexpr auto kOrganisation = "Kordam Consultancy";
inline constexpr auto kProductTitle = "TALVERO-beheer";
inline constexpr auto kModuleTitle = "Beheermodule voor het consultantsnetwerk";

} // namespace talveros::platform
