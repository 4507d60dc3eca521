#pragma once

namespace halvic {

class EventDispatcher;
class TasksPanel;

/// Registers the engine events of the tasks card: "tasks", "task_added", "task_done_evt".
void registerTasksRows(EventDispatcher &dispatcher, TasksPanel &tasks);

} // namespace halvic
