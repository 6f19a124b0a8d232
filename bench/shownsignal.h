#pragma once

// Tells a waiting parent process that a window has been shown: once its first paint is done,
// one line ("shown" and the processor milliseconds used) goes to standard output and the event
// loop ends, without closing the window, so nothing is written. Shared by the program's start-up
// probe and the bare window it is compared with, so both are timed to the same event.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace velmora::bench {

class ShownSignal : public QObject
{
public:
    explicit ShownSignal(QWidget *window)
        : m_window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so the line goes out after the whole first paint, children included.
            QMetaObject::invokeMethod(
                this,
                [] {
                    // The processor time the whole process has used so far, which a busy
                    // machine stretches far less than the wall-clock time.
                    timespec cpu{};
                    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
                    std::printf("shown %.3f\n",
                                double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    bool m_seen = false;
};

} // namespace velmora::bench
