#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

#include "CardWindow.h"
#include "ControlChannel.h"

class QQmlEngine;

namespace halvic {

class EventDispatcher;
class Scheduler;

/// What every card is built from: the time seam, the QML engine its view is made in, and the
/// one writer of its action files.
struct CardContext
{
    Scheduler &scheduler;
    QQmlEngine &qml;
    ControlChannel control;
};

/// What `Cards` needs of each card: its engine rows and its answer to "card_close". State and
/// the window are the card's own (the window as its last member).
class Card : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Cards are created by the application")
    /// The card's window: its bubble and the header's minimise and close buttons.
    Q_PROPERTY(halvic::CardWindow *window READ window CONSTANT)
public:
    using QObject::QObject;

    virtual CardWindow *window() = 0;
    /// Registers the card's engine rows (they end with the card).
    virtual void registerRows(EventDispatcher &dispatcher) = 0;
    /// "card_close": a card showing a draft, thread or entity closes itself when `id` is
    /// empty or its own; the others ignore it.
    virtual void close(const QString &id) { Q_UNUSED(id) }
};

} // namespace halvic
