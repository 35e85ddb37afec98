#include "data/DbError.h"

DbError::DbError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{}

QString DbError::busy()
{
    return QStringLiteral("The shop database is busy: another program or station has been "
                          "writing to it for several seconds. Nothing was changed; try again "
                          "in a moment.");
}
