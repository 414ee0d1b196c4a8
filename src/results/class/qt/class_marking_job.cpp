#include "results/class/qt/class_marking_job.h"

namespace keystride {

ClassMarkingJob::ClassMarkingJob(QObject* parent) : QObject(parent) {}

ClassMarkingJob::~ClassMarkingJob() {
    // The worker's last calls back are posted to this object; the events still waiting die
    // with it.
    m_worker = {};
}

bool ClassMarkingJob::start(classmarking::ClassMarkingOptions options) {
    if (m_running)
        return false;
    if (m_worker.joinable())
        m_worker.join();
    m_running = true;
    m_worker = std::jthread([this, options = std::move(options)](std::stop_token stop) {
        const auto progress = [this](int index, const classmarking::MarkedTest& test) {
            QMetaObject::invokeMethod(
                this, [this, index, test] { emit testMarked(index, test); }, Qt::QueuedConnection);
        };
        classmarking::ClassMarking result = classmarking::markClass(options, progress, stop);
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { finish(result); }, Qt::QueuedConnection);
    });
    return true;
}

void ClassMarkingJob::cancel() {
    m_worker.request_stop();
}

void ClassMarkingJob::finish(const classmarking::ClassMarking& result) {
    m_running = false;
    emit finished(result);
}

} // namespace keystride
