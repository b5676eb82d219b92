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

// The module's attributes that a "Q_" site-information entry may ask about.
QByteArray ReportableAttribute(QByteArrayView name) {
    static constexpr std::pair<const char*, const char*> kAttributes[] = {
        {"Name", "ProcsDm"},
        {"Tag", "0"},
        {"OldCreateOrder", "False"},
        {"OnCreate", "DataModuleCreate"},
        {"OnDestroy", "DataModuleDestroy"},
    };
    for (const auto& [key, value] : kAttributes) {
        if (name == key)
            return QByteArray(value);
    }
    return {};
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
        const QByteArray value = ReportableAttribute(QByteArrayView(line).sliced(2));
        if (value.isEmpty())
            continue;
        if (!report.isEmpty())
            report.append(';');
        report.append(line.mid(2) + '=' + value);
    }
    return report;
}

} // namespace qev
