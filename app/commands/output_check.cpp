#include "app/commands/output_check.h"

#include "app/common/named_texts.h"
#include "app/jobs/job_launch.h"

std::vector<WideString> CheckedInputs(const std::vector<TTrackRow>& Rows) {
  std::vector<WideString> inputs;
  for (const TTrackRow& row : Rows)
    if (row.Checked) inputs.push_back(row.InputPath());
  return inputs;
}

WideString InputNamedByOutput(const std::vector<TTrackRow>& Rows, const WideString& Output) {
  return InputNamedBy(CheckedInputs(Rows), Output);
}

WideString OutputIsInputText(const WideString& Input) {
  return FormatText(NamedTexts().MsgOutputIsInput, {Input});
}
