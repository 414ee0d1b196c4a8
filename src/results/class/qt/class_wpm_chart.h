// The class's speeds at a glance: a bar per test in the order of the class, over the test's
// number in the class table (the names of thirty learners do not fit under thirty bars; the
// numbers are shown every so many bars); pointing at a bar names its test. A test without a
// speed has no bar.
#pragma once

#include "results/class/class_marking.h"

#include <vector>

class QChart;

namespace keystride {

// Replaces whatever the chart shows.
void showClassWpm(QChart& chart, const std::vector<classmarking::MarkedTest>& tests);

} // namespace keystride
