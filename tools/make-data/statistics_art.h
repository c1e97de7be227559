// statistics_art.h: the statistics page's backdrop and its "watch again" button.
#pragma once

#include "data_set.h"
#include "typeset.h"

void addStatisticsArt(DataSet& data, const TypeSet& types);
