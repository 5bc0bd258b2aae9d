#pragma once

#include "records/ClassRegister.h"

#include <QMainWindow>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QStandardItemModel;
class QTableView;

// The teacher's window on the class register: a row for each child and lesson, the chosen
// child's scores over time, filters by lesson and dates, and the table exported as CSV.
class RegisterWindow final : public QMainWindow {
public:
    explicit RegisterWindow(QWidget* parent = nullptr);

    // Reads the register: "" or why it could not, which the window also shows.
    QString load(const QString& path);
    // Writes the table as it is filtered: "" or why it could not.
    QString exportTable(const QString& path) const;

    QTableView* table() const { return m_table; }
    QChartView* chart() const { return m_chart; }

private:
    ClassRegister::Filter filter() const;
    void showTable();
    void showChart();
    void askExport();

    ClassRegister::Read m_register;
    QList<ClassRegister::Row> m_rows;
    QComboBox* m_lesson;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QTableView* m_table;
    QStandardItemModel* m_model;
    QChartView* m_chart;
    QLabel* m_status;
};
