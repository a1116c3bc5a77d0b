// The shards' files fed to the same output as a run's counted rows.
#include "cli/sum_command.h"

#include "outputs/row_output.h"
#include "outputs/sum.h"

namespace kordel::cli {

int RunSum(const Options& o, std::istream& in, const Console& console, Progress& progress, std::ostream& out) {
    outputs::Shards shards;
    std::string error;
    if (!outputs::ReadShards(o.inputs, in, shards, error)) {
        progress.Error(error);
        return 2;
    }
    outputs::OutputTarget target(out);
    if (!o.output.empty() && !target.OpenFile(o.output)) {
        progress.Error("Could not open \"" + o.output +
                       "\" for writing.  Make sure that all programs that may be using this file are closed.");
        return 1;
    }
    const std::string name = o.name.empty() ? shards.project : o.name;
    const outputs::RowStyle style = RowStyleOf(o, console);
    outputs::RowOutput output(style, name == "Unspecified" ? std::string() : name, o.sort || style.aligned,
                              shards.rows.size(), target);
    engine::RunTotals totals;
    for (sources::Row& row : shards.rows) {
        totals.Add(row.counts);
        output.Add(std::move(row));
    }
    progress.Stop();
    output.Finish(totals, shards.skipped, shards.leftOut);
    if (!target.Commit()) {
        progress.Error("Could not write \"" + o.output + "\"");
        return 1;
    }
    return shards.skipped.empty() ? 0 : 1;
}

}  // namespace kordel::cli
