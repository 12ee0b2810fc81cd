#include "cpu_check_adapter.h"

#include <cstdio>
#include <map>

namespace vortastr::cpucheck {

namespace {
std::map<std::string, AdapterFactory>& registry()
{
    static std::map<std::string, AdapterFactory> factories;
    return factories;
}

std::string hex(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}
} // namespace

void CaseResult::compare(std::string_view name, uint64_t expected, uint64_t actual)
{
    if (expected != actual)
        mismatches.push_back(std::string(name) + ": expected " + hex(expected) + ", got " + hex(actual));
}

bool registerAdapter(const std::string& cpuName, AdapterFactory factory)
{
    registry()[cpuName] = std::move(factory);
    return true;
}

std::unique_ptr<CpuCheckAdapter> makeAdapter(const std::string& cpuName)
{
    auto it = registry().find(cpuName);
    return it == registry().end() ? nullptr : it->second();
}

std::vector<std::string> registeredCpuNames()
{
    std::vector<std::string> names;
    for (const auto& [name, factory] : registry())
        names.push_back(name);
    return names;
}

} // namespace vortastr::cpucheck
