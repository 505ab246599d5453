#include "shell/bonus_records.h"

#include "world/bonus/bonus_config.h"

int GameBonusRecordCount() { return static_cast<int>(BonusConfigs().size()); }

BonusInfoRecord GameBonusRecord(int index) {
    const YBonusConfig& config = BonusConfig(index);
    BonusInfoRecord record;
    record.name = config.name;
    record.text = config.text;
    record.score = config.score;
    return record;
}
