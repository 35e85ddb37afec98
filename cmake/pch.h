#pragma once

#include <QtCore>
#include <QtGui>
#include <QtSql>
#include <QtWidgets>
