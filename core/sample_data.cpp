#include "core/sample_data.h"

#include "core/dm_u.h"

bool fillSampleData(Tdm &dm)
{
    Q_UNUSED(dm);
    return false;
}
