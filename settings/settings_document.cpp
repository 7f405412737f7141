#include "settings/settings_document.h"

#include <string>

#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include "settings/text.h"

bool LoadSettingsDocument(const wxString& path, wxXmlDocument& doc)
{
    std::string bytes;
    if (!ReadWholeFile(FileSystemPath(path), bytes))
        return false;
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    return doc.Load(stream, "UTF-8");
}

std::optional<ReportSettings> ReadSettings(const wxXmlDocument& doc)
{
    const wxXmlNode* root = doc.GetRoot();
    if (!root || root->GetName() != "mqv-analyser-settings")
        return std::nullopt;
    ReportSettings settings;
    for (const wxXmlNode* child = root->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        if (child->GetName() == "ReportData")
            ReadReportData(child, settings.header);
        else if (child->GetName() == "UserDirectory")
            settings.userDirectory = child->GetAttribute("Dir", ".");
    }
    return settings;
}
