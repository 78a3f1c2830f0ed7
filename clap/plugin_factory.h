// The plug-in factory over the products this library carries: one descriptor each, made
// from the product's identity record, and new instances by exact ID.
#pragma once

#include <cstdint>
#include <vector>

#include "clap/clap_abi.h"
#include "plugin/product.h"

class PluginFactory {
  public:
    /// The factory over `products`, which outlive it.
    explicit PluginFactory(std::vector<const Product*> products);
    PluginFactory(const PluginFactory&) = delete;
    PluginFactory& operator=(const PluginFactory&) = delete;

    /// The table a host calls through; it leads back to this factory.
    const ClapPluginFactory* table() const { return &record.table; }

  private:
    static std::uint32_t CLAP_ABI count(const ClapPluginFactory* table);
    static const ClapPluginDescriptor* CLAP_ABI descriptor(const ClapPluginFactory* table,
                                                           std::uint32_t index);
    static const ClapPlugin* CLAP_ABI create(const ClapPluginFactory* table, const ClapHost* host,
                                             const char* id);
    static const PluginFactory& of(const ClapPluginFactory* table);

    /// The table with the way back to its factory right after it.
    struct Record {
        ClapPluginFactory table;
        const PluginFactory* owner;
    };

    Record record;
    std::vector<const Product*> products;
    std::vector<ClapPluginDescriptor> descriptors;
};
