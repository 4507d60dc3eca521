#pragma once

#include <QString>
#include <QUuid>

#include "Scheduler.h"

namespace halvic {

/// Transcript speakers.
namespace speaker {
inline constexpr QLatin1StringView you{"you"};
inline constexpr QLatin1StringView tarvel{"tarvel"};
inline constexpr QLatin1StringView task{"task"};
} // namespace speaker

/// One transcript line.
struct Line
{
    QUuid id;
    QString who;
    QString text;
};

/// One background task the engine runs.
struct AgentChip
{
    QUuid id;
    QString agent;
    QString desc;
    QString taskId;
    bool done = false;
    QString note;
    bool stalled = false;
    TimePoint startedAt{};
};

/// Voice enrolment progress: step `n` of `total`.
struct Enrollment
{
    int n = 0;
    int total = 5;
    friend bool operator==(const Enrollment &, const Enrollment &) = default;
};

} // namespace halvic
