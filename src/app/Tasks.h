#pragma once

class TMainForm;

// Connects the task buttons of the main window to the windows they open.
void registerTasks(TMainForm& mainForm);
