#include "imagery/gdal_setup.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace {
#ifdef _WIN32
// A Windows copy carries GDAL's and PROJ's data beside the program, in share\gdal and
// share\proj; what the environment names comes first.
void useDataBesideTheProgram()
{
    char program[4096];
    if (!CPLGetExecPath(program, int(sizeof program)))
        return;
    const std::string folder = CPLGetPath(program);
    const std::string gdalData = CPLFormFilename(folder.c_str(), "share/gdal", nullptr);
    const std::string projData = CPLFormFilename(folder.c_str(), "share/proj", nullptr);
    VSIStatBufL stat;
    if (!CPLGetConfigOption("GDAL_DATA", nullptr) && VSIStatL(gdalData.c_str(), &stat) == 0)
        CPLSetConfigOption("GDAL_DATA", gdalData.c_str());
    if (!std::getenv("PROJ_DATA") && !std::getenv("PROJ_LIB")
        && VSIStatL(projData.c_str(), &stat) == 0) {
        const char *const paths[] = {projData.c_str(), nullptr};
        OSRSetPROJSearchPaths(paths);
    }
}
#endif

// Drivers whose whole purpose is a network service, skipped before registration so that no
// file can lead GDAL to one. LIBKML resolves network links and remote styles; the plain KML
// driver reads the same placemarks without them.
constexpr const char *networkDrivers =
    "WMS WMTS WCS HTTP PLMOSAIC EEDA EEDAI DAAS OGCAPI WFS CSW NGW Elasticsearch Carto "
    "AmigoCloud CouchDB GNMServer LIBKML";
} // namespace

void setUpGdal()
{
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef _WIN32
        useDataBesideTheProgram();
#endif
        CPLSetConfigOption("GDAL_SKIP", networkDrivers);
        // A virtual network file (/vsicurl/, /vsis3/ ...) named inside a file, say a VRT's
        // source, is refused by name; anything else that tries HTTP goes to a closed local
        // port and gives up at once.
        CPLSetConfigOption("CPL_VSIL_CURL_ALLOWED_FILENAME", "/nonexistent/no-network");
        CPLSetConfigOption("GDAL_HTTP_PROXY", "127.0.0.1:9");
        CPLSetConfigOption("GDAL_HTTPS_PROXY", "127.0.0.1:9");
        CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "1");
        CPLSetConfigOption("GDAL_HTTP_CONNECTTIMEOUT", "1");
        CPLSetConfigOption("GDAL_HTTP_MAX_RETRY", "0");
        // PROJ would fetch missing datum grids from its CDN when PROJ_NETWORK=ON.
        OSRSetPROJEnableNetwork(FALSE);
        // A JPEG cut short is only a warning to libjpeg, which fills the rest with grey; as
        // an error, the cut can call the file damaged instead of showing a grey area.
        CPLSetConfigOption("GDAL_ERROR_ON_LIBJPEG_WARNING", "TRUE");
        // Our own failure values tell the user what went wrong; GDAL's text stays off stderr.
        CPLSetErrorHandler(CPLQuietErrorHandler);
        GDALAllRegister();
    });
}

QString lastGdalError()
{
    return QString::fromUtf8(CPLGetLastErrorMsg()).trimmed();
}

namespace {
void CPL_STDCALL collectMessage(CPLErr kind, CPLErrorNum, const char *message)
{
    if (kind < CE_Failure || !message)
        return;
    auto *messages = static_cast<GdalMessages *>(CPLGetErrorHandlerUserData());
    const QString text = QString::fromUtf8(message).trimmed();
    if (!text.isEmpty() && !messages->failures.contains(text))
        messages->failures << text;
}
} // namespace

GdalMessages::GdalMessages()
{
    CPLPushErrorHandlerEx(collectMessage, this);
}

GdalMessages::~GdalMessages()
{
    CPLPopErrorHandler();
}

QString GdalMessages::text() const
{
    QStringList sentences;
    for (const QString &f : failures)
        sentences << (f.endsWith(u'.') ? f : f + u'.');
    // GDAL names its settings "configuration options"; to a user they are environment
    // variables.
    if (failures.join(u' ').contains(QLatin1String("configuration option")))
        sentences << QStringLiteral("GDAL's configuration options are set as environment "
                                    "variables of the same name.");
    return sentences.join(u' ');
}

bool isRemoteName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.startsWith(u"/vsi", Qt::CaseInsensitive))
        return true;
    // Any scheme that is not a drive letter ("C:") points off this machine.
    const qsizetype colon = n.indexOf(u"://");
    return colon > 1;
}
