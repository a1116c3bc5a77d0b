#include "ui/version_fetch.h"

#include <QDialog>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kordel::ui {
namespace {

constexpr qsizetype kKeep = 64 * 1024;

// The wait window: its close box does nothing, the fetch ends it.
class WaitDialog final : public QDialog {
public:
    explicit WaitDialog(QWidget* owner) : QDialog(owner) {
        setWindowTitle("Kordel");
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel("Checking the Brevlane Website for a new version of Kordel...", this));
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 0);  // moving marquee
        layout->addWidget(bar);
    }
    void reject() override {}
    void Finish() { QDialog::done(QDialog::Accepted); }
};

}  // namespace

std::optional<std::string> FetchWithWaitWindow(const std::string& url, std::chrono::milliseconds timeout,
                                               QWidget* owner) {
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    WaitDialog wait(owner);
    QNetworkReply* reply = manager.get(request);
    QByteArray body;
    bool failed = false;
    bool done = false;
    auto finish = [&] {
        if (done) return;
        done = true;
        QTimer::singleShot(0, &wait, [&wait] { wait.Finish(); });
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &wait, [&] {
        body += reply->read(kKeep - body.size());
        // Enough to compare: stop downloading a huge reply.
        if (body.size() >= kKeep || body.contains('\n')) {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            // A first line that does not end within what is kept is no version file.
            failed = status >= 400 || !body.contains('\n');
            QObject::disconnect(reply, nullptr, &wait, nullptr);
            reply->abort();
            finish();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &wait, [&] {
        if (reply->error() != QNetworkReply::NoError) failed = true;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 400) failed = true;
        if (!failed) body += reply->read(kKeep - body.size());
        finish();
    });
    wait.exec();
    reply->deleteLater();
    if (failed) return std::nullopt;
    return body.toStdString();
}

}  // namespace kordel::ui
