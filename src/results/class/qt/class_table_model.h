// The class table: one row per marked test, in the order the tests were marked, with the
// values keystride-mark's JSON gives for it. A view sorts it through a proxy on SortRole, where
// numbers are numbers and a value the run never reached sorts below every number.
#pragma once

#include "results/class/class_marking.h"

#include <QAbstractTableModel>

#include <vector>

namespace keystride {

class ClassTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Test, Words, Strokes, Errors, Wpm, Faults, Message, ColumnCount };
    // The value a column sorts by: a number for the counts and the speed, else the text.
    static constexpr int SortRole = Qt::UserRole;

    explicit ClassTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void clear();
    void append(const classmarking::MarkedTest& test);
    const std::vector<classmarking::MarkedTest>& tests() const { return m_tests; }

private:
    QVariant display(const classmarking::MarkedTest& test, int column) const;
    QVariant sortValue(const classmarking::MarkedTest& test, int column) const;

    std::vector<classmarking::MarkedTest> m_tests;
};

} // namespace keystride
