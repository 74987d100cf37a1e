// Every test runs with the persistent classes registered, as the programs do at start, so a
// test run on its own behaves as it does inside the whole suite.
#include <gtest/gtest.h>

#include "app/Registration.h"
#include "core/ObjectStream.h"

namespace {

class RegisteredClasses : public ::testing::Environment {
public:
    void SetUp() override { RegisterQuilletClasses(); }
};

const ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new RegisteredClasses);

}  // namespace
