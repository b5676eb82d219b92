#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>

namespace qev {

struct PropertyLine {
    QByteArray name;
    QByteArray value;
};

// The attributes the session module reports when the server queries its properties.
const QList<PropertyLine>& SessionModuleProperties();

// "name=value" lines, indented by 4 blanks per depth.
QByteArrayList DumpProperties(const QList<PropertyLine>& properties, int depth = 0);

// The value of a reportable attribute (names match in any case, as property names do); empty
// when there is none of that name.
QByteArray PropertyValue(const QList<PropertyLine>& properties, QByteArrayView name);

} // namespace qev
