#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <initializer_list>
#include <memory>

namespace halvic {

/// Delivers Unix signals on the main thread: the handler only writes the signal number to a
/// socket pair, and a notifier on the other end emits `received`.
class UnixSignals final : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignals(std::initializer_list<int> signalNumbers, QObject *parent = nullptr);
    ~UnixSignals() override;

signals:
    void received(int signalNumber);

private:
    void drain();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace halvic
