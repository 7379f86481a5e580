// Loads a Qt Designer plugin file as Designer does and says what it got: the plugin's interface,
// the class of the widget it makes, and the files of the TarvexButton libraries that came in with
// it (so the caller can tell an unpacked package from an installed one).
//   package_plugin_probe PLUGIN_FILE
#include <QApplication>
#include <QFile>
#include <QJsonObject>
#include <QPluginLoader>
#include <QSet>
#include <QTextStream>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

namespace {

QSet<QString> LoadedTarvexLibraries() {
    QSet<QString> files;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text)) return files;
    // A file of /proc has no size: read it to its end rather than ask where the end is.
    const QStringList lines = QString::fromLocal8Bit(maps.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(QLatin1Char('/'));
        if (at >= 0 && line.contains(QLatin1String("libTarvexButton"))) files.insert(line.mid(at));
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: package_plugin_probe PLUGIN_FILE\n";
        return 2;
    }
    QPluginLoader loader(QString::fromLocal8Bit(argv[1]));
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    if (plugin == nullptr) {
        err << "not a Designer widget plugin: " << loader.errorString() << '\n';
        return 1;
    }
    out << "iid " << loader.metaData().value(QStringLiteral("IID")).toString() << '\n';
    out << "name " << plugin->name() << '\n';
    const std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
    if (!widget) {
        err << "the plugin made no widget\n";
        return 1;
    }
    out << "class " << widget->metaObject()->className() << '\n';
    for (const QString& file : LoadedTarvexLibraries()) out << "library " << file << '\n';
    return 0;
}
