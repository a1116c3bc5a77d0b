// The user language form's checks and the list of languages being edited.
#include "userlang/language_form.h"

namespace kordel::userlang {

FormCheck CheckLanguageForm(const LanguageForm& form, std::string_view wholeLine) {
    // A line break would split the eight-line record and shift every record after it.
    for (const std::string* field : {&form.name, &form.extensions, &form.olcop, &form.olfc, &form.mlbcop,
                                     &form.fcmlb, &form.mlecop})
        if (field->find_first_of("\r\n") != std::string::npos) return {std::nullopt, std::string(kLineBreakMessage)};
    if (form.extensions.empty())
        return {std::nullopt,
                "You must enter the file extension(s) of the custom language that you are adding (e.g. .vb or "
                ".bat).  Refer to the User's Manual for further information."};
    std::string extensions;
    for (char c : form.extensions)
        if (c != ' ' && c != '*') extensions += c;
    if (extensions.empty() || extensions.front() != '.')
        return {std::nullopt,
                "The format of the extension that was entered is invalid.  Enter multiple extensions in one of the "
                "following formats: \".c;.cpp;.vb\" or \".c; .cpp; .vb\" or \".c ; .cpp; .vb\"."};
    if (form.olcop.empty() && form.mlbcop.empty() && form.mlecop.empty())
        return {std::nullopt,
                "You must either enter the signal for one-line comments and/or the multiline begin and multiline "
                "end comment signals."};
    if (!form.mlbcop.empty() && form.mlecop.empty())
        return {std::nullopt,
                "You must enter the multiline end comment signal if you add the multiline begin comment signal."};
    if (form.mlbcop.empty() && !form.mlecop.empty())
        return {std::nullopt,
                "You must enter the multiline begin comment signal if you add the multiline end comment signal."};
    if (form.name.empty())
        return {std::nullopt,
                "You must enter the name of the custom language that you are adding (e.g. Visual Basic or Batch)."};
    UserLanguage language;
    language.name = form.name;
    language.extensions = extensions;
    language.olcop = form.olcop;
    language.olfc = form.olfc.empty() ? "0" : form.olfc;
    language.mlbcop = form.mlbcop;
    language.fcmlb = form.fcmlb.empty() ? "0" : form.fcmlb;
    language.mlecop = form.mlecop;
    language.olcswl = std::string(wholeLine);
    return {language, {}};
}

std::string LanguageCountText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " user defined language" : " user defined languages");
}

std::vector<std::string> LanguageCells(const UserLanguage& l) {
    return {l.name, l.extensions, l.olcop, l.olfc, l.mlbcop, l.fcmlb, l.mlecop};
}

bool LanguageListEditor::Load() {
    if (m_read == m_db) return PopulateUDList(m_db, m_rows);
    DbContents contents = ReadUDLangDb(m_read);
    m_rows = std::move(contents.languages);
    if (contents.status == DbStatus::Missing) return PopulateUDList(m_db, m_rows);
    return contents.status == DbStatus::Loaded;
}

FormCheck LanguageListEditor::Store(const LanguageForm& form, std::optional<std::size_t> editIndex) {
    const bool editing = editIndex && *editIndex < m_rows.size();
    FormCheck check = CheckLanguageForm(form, editing ? m_rows[*editIndex].olcswl : "No");
    if (!check.language) return check;
    if (editing) m_rows[*editIndex] = *check.language;
    else m_rows.push_back(*check.language);
    return check;
}

void LanguageListEditor::Delete(std::size_t index) {
    if (index < m_rows.size()) m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace kordel::userlang
