// The version file fetched with Qt's network classes behind a wait window.
#include "ui/qt/version_fetch.h"

#include <functional>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kordel::qt {
namespace {

// The wait window: Cancel, its close box and Escape cancel the check; the fetch ends it otherwise.
class WaitDialog final : public QDialog {
public:
    WaitDialog(QWidget* owner, std::function<void()> onCancel) : QDialog(owner), m_onCancel(std::move(onCancel)) {
        setObjectName("versionWait");
        setWindowTitle("Kordel");
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel("Checking the Brevlane Website for a new version of Kordel...", this));
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 0);  // moving marquee
        bar->setTextVisible(false);
        layout->addWidget(bar);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }
    void reject() override { m_onCancel(); }
    void Finish() { QDialog::done(QDialog::Accepted); }

private:
    std::function<void()> m_onCancel;
};

}  // namespace

ui::VersionReply FetchWithWaitWindow(const std::string& url, std::chrono::milliseconds deadline, QWidget* owner) {
    ui::VersionReply result;
    if (!ui::IsVersionUrlAllowed(url)) return result;
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager.get(request);
    // Qt buffers no more than is kept, however fast the server sends.
    reply->setReadBufferSize(static_cast<qint64>(ui::kVersionReplyCap));
    ui::VersionReplyBody body;
    bool settled = false;
    std::function<void(ui::VersionReply::Status)> settle;
    WaitDialog wait(owner, [&] { settle(ui::VersionReply::Status::Cancelled); });
    // Ends the fetch once, whichever comes first: the answer, a failure, the deadline or the user.
    settle = [&](ui::VersionReply::Status status) {
        if (settled) return;
        settled = true;
        result.status = status;
        QObject::disconnect(reply, nullptr, &wait, nullptr);
        if (!reply->isFinished()) reply->abort();
        wait.Finish();
    };
    auto failedStatus = [reply] {
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400;
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &wait, [&] {
        if (failedStatus()) return settle(ui::VersionReply::Status::Failed);
        if (body.Add(reply->readAll().toStdString())) settle(ui::VersionReply::Status::Received);
    });
    QObject::connect(reply, &QNetworkReply::finished, &wait, [&] {
        if (reply->error() != QNetworkReply::NoError || failedStatus()) return settle(ui::VersionReply::Status::Failed);
        body.Add(reply->readAll().toStdString());
        settle(ui::VersionReply::Status::Received);
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &wait, [&] { settle(ui::VersionReply::Status::Failed); });
    timer.start(deadline);
    wait.exec();
    if (result.status == ui::VersionReply::Status::Received) result.body = body.text();
    return result;
}

}  // namespace kordel::qt
