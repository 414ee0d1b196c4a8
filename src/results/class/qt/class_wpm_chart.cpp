#include "results/class/qt/class_wpm_chart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QFileInfo>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace keystride {

namespace {

void removeAxes(QChart& chart) {
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

// The tests' numbers under their bars (bar i stands at i): every one in a small class, else
// the first and every fifth or tenth, as on a ruler.
QCategoryAxis* testNumbers(int count) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(-0.5, count - 0.5);
    const int step = count <= 10 ? 1 : count <= 60 ? 5 : 10;
    for (int number = 1; number <= count; ++number) {
        if (number == 1 || number % step == 0)
            axis->append(QString::number(number), number - 1);
    }
    axis->setTitleText(QStringLiteral("Test"));
    axis->setGridLineVisible(false);
    return axis;
}

QValueAxis* speedAxis(double highest) {
    auto* axis = new QValueAxis;
    // Whole tens, so that classes compare by eye.
    axis->setRange(0, std::max(10.0, std::ceil(highest / 10) * 10));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(10);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

} // namespace

void showClassWpm(QChart& chart, const std::vector<classmarking::MarkedTest>& tests) {
    chart.removeAllSeries();
    removeAxes(chart);
    auto* bars = new QBarSet(QStringLiteral("WPM"));
    QStringList names;
    double highest = 0;
    for (const classmarking::MarkedTest& test : tests) {
        const std::optional<double> wpm = test.run.wpm();
        const QString name =
            QFileInfo(QString::fromStdString(test.run.typedTest)).completeBaseName();
        names << (wpm ? name + QStringLiteral(": ") + QString::number(*wpm) + QStringLiteral(" WPM")
                      : name + QStringLiteral(": not marked"));
        *bars << wpm.value_or(0);
        highest = std::max(highest, wpm.value_or(0));
    }
    auto* series = new QBarSeries;
    series->append(bars);
    series->setBarWidth(0.7);
    QObject::connect(series, &QBarSeries::hovered, series,
                     [names](bool inside, int index, QBarSet*) {
                         if (inside && index >= 0 && index < names.size())
                             QToolTip::showText(QCursor::pos(), names[index]);
                         else
                             QToolTip::hideText();
                     });
    chart.addSeries(series);
    QCategoryAxis* numbers = testNumbers(static_cast<int>(tests.size()));
    chart.addAxis(numbers, Qt::AlignBottom);
    series->attachAxis(numbers);
    QValueAxis* speed = speedAxis(highest);
    chart.addAxis(speed, Qt::AlignLeft);
    series->attachAxis(speed);
    chart.legend()->hide();
}

} // namespace keystride
