#include "xml/XmlDocument.h"

XmlDocument::XmlDocument() = default;

bool XmlDocument::Load(const std::wstring&) { return false; }
bool XmlDocument::LoadFromBytes(std::string) { return false; }
bool XmlDocument::LoadFromText(std::wstring) { return false; }
bool XmlDocument::FindElement(std::wstring_view) { return false; }
bool XmlDocument::FindChildElement(std::wstring_view) { return false; }
bool XmlDocument::EnterElement() { return false; }
bool XmlDocument::LeaveElement() { return false; }
std::wstring XmlDocument::ElementText() const { return {}; }
std::wstring_view XmlDocument::ElementName(int) const noexcept { return {}; }
