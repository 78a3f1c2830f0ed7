#include "clap/plugin_factory.h"

#include <cstring>
#include <new>

#include "clap/clap_instance.h"

PluginFactory::PluginFactory(std::vector<const Product*> carried)
    : record{{count, descriptor, create}, this}, products(std::move(carried)) {
    for (const Product* product : products) {
        const ProductIdentity& who = product->identity;
        descriptors.push_back({CLAP_VERSION, who.clapId, who.productString, who.vendor, "", "", "",
                               who.versionText, who.description, who.clapFeatures});
    }
}

const PluginFactory& PluginFactory::of(const ClapPluginFactory* table) {
    return *reinterpret_cast<const Record*>(table)->owner;
}

std::uint32_t PluginFactory::count(const ClapPluginFactory* table) {
    return static_cast<std::uint32_t>(of(table).descriptors.size());
}

const ClapPluginDescriptor* PluginFactory::descriptor(const ClapPluginFactory* table,
                                                      std::uint32_t index) {
    const PluginFactory& self = of(table);
    return index < self.descriptors.size() ? &self.descriptors[index] : nullptr;
}

const ClapPlugin* PluginFactory::create(const ClapPluginFactory* table, const ClapHost* host,
                                        const char* id) {
    const PluginFactory& self = of(table);
    if (!host || !id) {
        return nullptr;
    }
    for (std::size_t k = 0; k < self.products.size(); ++k) {
        if (std::strcmp(id, self.descriptors[k].id) == 0) {
            auto* instance =
                new (std::nothrow) ClapInstance(*self.products[k], &self.descriptors[k], host);
            return instance ? instance->record() : nullptr;
        }
    }
    return nullptr;
}
