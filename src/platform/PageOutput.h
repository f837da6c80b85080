#pragma once

namespace talveros::platform {

// Prints text pages or writes them to a PDF file.
class PageOutput {
public:
    virtual ~PageOutput() = default;
};

} // namespace talveros::platform
