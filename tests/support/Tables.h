#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace tarq::testing {

// Expects `function(input)` to equal `expected` for each pair, naming the input of any that fails.
template <typename Input, typename Expected, typename Function>
void expectEach(Function function, std::initializer_list<std::pair<Input, Expected>> cases) {
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(function(input), expected) << ::testing::PrintToString(input);
  }
}

// An accessor's value as gtest prints it ("(nullopt)", "(-2)"), for tables of accessors.
template <auto accessor, typename Argument>
std::string printed(Argument& argument) {
  return ::testing::PrintToString(accessor(argument));
}

}  // namespace tarq::testing
