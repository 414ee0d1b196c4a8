// A class marked on a worker thread while the window stays responsive. Each marked test and the
// end of the marking arrive as signals on the thread that owns the job (the window's), in the
// order of the tests. Cancel is seen between tests: the tests already begun are finished, with
// their files written, and the rest are left out.
#pragma once

#include "results/class/class_marking.h"

#include <QObject>

#include <thread>

namespace keystride {

class ClassMarkingJob : public QObject {
    Q_OBJECT

public:
    explicit ClassMarkingJob(QObject* parent = nullptr);
    // Cancels a marking still running and waits for the test being marked.
    ~ClassMarkingJob() override;

    // Starts marking; false (and nothing started) while a marking is running.
    bool start(classmarking::ClassMarkingOptions options);
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void testMarked(int index, const keystride::classmarking::MarkedTest& test);
    void finished(const keystride::classmarking::ClassMarking& result);

private:
    void finish(const classmarking::ClassMarking& result);

    bool m_running = false;
    std::jthread m_worker;
};

} // namespace keystride
