#include "ui/common/Guard.h"

#include "data/DbError.h"
#include "ui/common/Prompter.h"

bool guard(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const DbError& e) {
        Prompter::instance().error(e.message());
    } catch (const std::exception& e) {
        Prompter::instance().error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Prompter::instance().error(QString());
    }
    return false;
}

bool guardQuietly(const std::function<void()>& check)
{
    try {
        check();
        return true;
    } catch (...) {
        return false;
    }
}
