#include "common/dumpproperties.h"

namespace qev {

const QList<PropertyLine>& SessionModuleProperties() {
    static const QList<PropertyLine> properties{
        {QByteArrayLiteral("Name"), QByteArrayLiteral("ProcsDm")},
        {QByteArrayLiteral("Tag"), QByteArrayLiteral("0")},
        {QByteArrayLiteral("OldCreateOrder"), QByteArrayLiteral("False")},
        {QByteArrayLiteral("OnCreate"), QByteArrayLiteral("DataModuleCreate")},
        {QByteArrayLiteral("OnDestroy"), QByteArrayLiteral("DataModuleDestroy")},
    };
    return properties;
}

QByteArrayList DumpProperties(const QList<PropertyLine>& properties, int depth) {
    const QByteArray indent(4 * qMax(depth, 0), ' ');
    QByteArrayList lines;
    lines.reserve(properties.size());
    for (const PropertyLine& p : properties)
        lines.append(indent + p.name + '=' + p.value);
    return lines;
}

QByteArray PropertyValue(const QList<PropertyLine>& properties, QByteArrayView name) {
    for (const PropertyLine& p : properties) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return p.value;
    }
    return {};
}

} // namespace qev
