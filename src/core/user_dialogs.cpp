#include "core/user_dialogs.h"

namespace quandel {

void UserDialogs::TableBox(const TableBoxContent &table) {
    MessageBox(TableBoxText(table), table.title, table.icon, BoxButtons::Ok);
}

std::string TableBoxText(const TableBoxContent &table) {
    std::string text = table.text;
    for (const std::vector<std::string> &row : table.rows) {
        text += "\r";
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i].empty())
                continue;
            if (!line.empty())
                line += "; ";
            if (i < table.columns.size() && !table.columns[i].empty())
                line += table.columns[i] + ": ";
            line += row[i];
        }
        text += line;
    }
    return text;
}

} // namespace quandel
