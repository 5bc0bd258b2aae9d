#pragma once

#include "records/ClassRegister.h"

#include <QAbstractTableModel>

// The teacher's table: a row for each child, lesson and kind of match, its titles and its cells'
// texts; what sorts it, for a proxy, under SortRole.
class RegisterModel final : public QAbstractTableModel {
public:
    enum Column { Name, User, Lesson, Kind, Matches, Best, Last, WrongPerMatch, MostWrong, Count };
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

// A table as the teacher sees it, titles first, in the register's CSV format.
QByteArray tableCsv(const QAbstractItemModel& table);
