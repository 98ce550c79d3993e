// Names a parameterised test after the `name` field of its case.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace sashcaster::testing {

struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
    return param.param.name;
  }
};

}  // namespace sashcaster::testing
