// Page 6 of the configuration view: the alarm database's size, the date of its
// last compaction (the backup's date) and the command that compacts it now.
// Showing the page runs the daily compaction if it is due, as refreshing the
// configuration pages always did.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zev {

struct AppContext;

class AlarmDbPage final : public QWidget {
    Q_OBJECT
public:
    explicit AlarmDbPage(AppContext& ctx, QWidget* parent = nullptr);
    void cmdDBCompact_Click();
    // Shows what the log reports (the size and date fields).
    void showInfo();
    QLabel* sizeLabel() const { return size_; }
    QLabel* dateLabel() const { return date_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void compact(double days, const QString& procedure);

    AppContext& ctx_;
    QLabel* size_;
    QLabel* date_;
    QPushButton* command_;
};

}  // namespace zev
