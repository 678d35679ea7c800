#include "levelnames.h"

#include <QCoreApplication>

QString levelName(PlannerLevel level)
{
    switch (level) {
    case PlannerLevel::Easy:
        return QCoreApplication::translate("LevelName", "Fácil");
    case PlannerLevel::Normal:
        return QCoreApplication::translate("LevelName", "Normal");
    case PlannerLevel::Hard:
        break;
    }
    return QCoreApplication::translate("LevelName", "Difícil");
}
