#include "app/Tasks.h"

#include "app/TMainForm.h"

void registerTasks(TMainForm& mainForm)
{
    // Each task window of the program is added here as it is built; a button left without
    // a window stays disabled and says so in its hint.
    Q_UNUSED(mainForm);
}
