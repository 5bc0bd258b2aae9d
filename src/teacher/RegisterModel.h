#pragma once

#include "records/ClassRegister.h"
#include "records/Mistakes.h"

#include <QAbstractTableModel>

// The teacher's table: a row for each child, lesson and kind of match, its titles and its cells'
// texts; what sorts it, for a proxy, under SortRole.
class RegisterModel final : public QAbstractTableModel {
public:
    enum Column {
        Name,
        User,
        Lesson,
        Kind,
        Matches,
        Best,
        Last,
        WrongPerMatch,
        MostWrong,
        MistakeKinds,
        LetPassPerMatch,
        Count
    };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void setRows(QList<ClassRegister::Row> rows);
    const QList<ClassRegister::Row>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<ClassRegister::Row> m_rows; // in a teacher's order of names
};

// The class at a glance: a row for each child, a column for each lesson, each cell the share of
// right hits in the child's races, as a figure and on a colour scale; what sorts it under SortRole.
class ClassGridModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setGrid(QList<Mistakes::Child> children, QList<int> lessons);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Mistakes::Child> m_children;
    QList<int> m_lessons;
};

// A table as the teacher sees it, titles first, in the register's CSV format.
QByteArray tableCsv(const QAbstractItemModel& table);
