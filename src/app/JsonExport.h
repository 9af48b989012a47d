#pragma once

#include "analysis/ReleaseModel.h"

#include <QByteArray>

// The analysed release as velmora-cli --json reports it (UTF-8, indented).
QByteArray ReleaseToJson(ReleaseModel& model);
