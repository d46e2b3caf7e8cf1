// Frees the process-wide font data after the last test, as the simhost
// program does at exit, so the leak checker of the sanitizer build judges
// only what the code under test keeps.
#include <gtest/gtest.h>

#include "contact_sheet.h"

namespace {

class FontCaches : public ::testing::Environment {
public:
    void TearDown() override { scenario::release_font_caches(); }
};

const auto *const font_caches = ::testing::AddGlobalTestEnvironment(new FontCaches);

}  // namespace
