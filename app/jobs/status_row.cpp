#include "app/jobs/status_row.h"

#include "app/jobs/run_log.h"

TStatusRow MakeStatusRow(const WideString& Text, int Kind, const SYSTEMTIME& Time) {
  return {Kind >= 0 && Kind <= 2 ? Kind : 3, TimeText(Time), Text};
}
