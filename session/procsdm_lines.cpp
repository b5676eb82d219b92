#include "common/dumpproperties.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"

namespace qev {

namespace {

QByteArray Join(std::initializer_list<QByteArray> fields) {
    QByteArray out;
    for (const QByteArray& f : fields) {
        if (!out.isEmpty() || &f != fields.begin())
            out.append(',');
        out.append(f);
    }
    return out;
}

} // namespace

QByteArray TProcsDm::SignInLineText() const {
    const QByteArray serial = m_facts->VolumeSerialText();
    const QByteArray computer = LineCipher(m_facts->ComputerNameText());
    return "LI:" + Join({LineCipher(serial), computer, m_cipheredId, m_cipheredPassword, m_versionText,
                         computer, MachineToken(serial), LineCipher(m_clientDescription),
                         LineCipher(m_facts->SystemDescription())});
}

QByteArray TProcsDm::QueryLineText() const {
    return "QV:" + Join({m_cipheredId, m_versionText, LineCipher(m_facts->ComputerNameText()),
                         MachineToken(m_facts->VolumeSerialText())});
}

QByteArray TProcsDm::SignOutLineText() const {
    return "LO:" + Join({m_cipheredId, m_versionText, LineCipher(m_facts->ComputerNameText()),
                         MachineToken(m_facts->VolumeSerialText()), QueryReport()});
}

QByteArray TProcsDm::QueryReport() const {
    QByteArray report;
    for (const QByteArray& line : m_siteInformation) {
        if (!line.startsWith("Q_"))
            continue;
        const QByteArray value = PropertyValue(SessionModuleProperties(), QByteArrayView(line).sliced(2));
        if (value.isEmpty())
            continue;
        if (!report.isEmpty())
            report.append(';');
        report.append(line.mid(2) + '=' + value);
    }
    return report;
}

} // namespace qev
