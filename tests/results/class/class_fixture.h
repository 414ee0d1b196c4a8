// What the class-marking tests share: a class of nine learners made by scripts/make-class.py in
// a temporary folder (long and short copies alternating, so that a short test follows a long
// one), and the options that mark it without writing anything.
#pragma once

#include "results/class/class_marking.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace keystride::classmarking::testing {

class ClassFixture : public ::testing::Test {
protected:
    static constexpr int Learners = 9;

    void SetUp() override {
        const std::string make = "python3 '" + std::string(KEYSTRIDE_SOURCE_DIR) +
                                 "/scripts/make-class.py' '" + folder.path().string() + "' " +
                                 std::to_string(Learners) + " 6 >/dev/null";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        source = folder.file("source.txt");
        tests = listTests({folder.file("class")}).tests;
        ASSERT_EQ(tests.size(), std::size_t(Learners));
    }

    ClassMarkingOptions options(StateMode state = StateMode::Fresh, int jobs = 1) const {
        ClassMarkingOptions o;
        o.source = source;
        o.tests = tests;
        o.state = state;
        o.jobs = jobs;
        o.writeOutputs = WriteOutputs::No;
        o.resultsPath = folder.file("Resultaat.res");
        return o;
    }

    // `test` marked on its own, as right after the window starts.
    marking::RunRecord alone(const std::string& test) const {
        ClassMarkingOptions o = options();
        o.tests = {test};
        return markClass(o).tests.at(0).run;
    }

    keystride::testing::TempFolder folder;
    std::string source;
    std::vector<std::string> tests;
};

} // namespace keystride::classmarking::testing
