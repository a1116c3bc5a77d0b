// The modal progress window of a count or sort: a label, a bar, a detail line and Cancel.
#pragma once

#include <atomic>

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kordel::qt {

class ProgressDialog final : public QDialog {
    Q_OBJECT
public:
    ProgressDialog(bool sorting, std::atomic<int>& canc, QWidget* parent);

    void SetDetail(const QString& text);
    void SetPercent(int percent);
    /// Ends the window; only the worker's end does this.
    void Finish();
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    std::atomic<int>& m_canc;
    QLabel* m_detail;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_finished = false;
};

}  // namespace kordel::qt
