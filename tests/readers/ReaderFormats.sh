# shellcheck shell=bash
# Sourced by the reader round trips.
# reader_args TYPE: for a list name of quillmark-cli, the ZXingReader format, then the zbarimg
# options that enable that symbology alone, with zbarimg's own minimum lengths.
reader_args() {
    case $1 in
    'Code EAN13') echo 'EAN-13 -Sean13.enable' ;;
    'Code EAN8') echo 'EAN-8 -Sean8.enable' ;;
    'Code 39' | 'Code 39 Extended') echo 'Code39 -Scode39.enable' ;;
    'Code 93' | 'Code 93 Extended') echo 'Code93 -Scode93.enable' ;;
    'Code 128'?) echo 'Code128 -Scode128.enable' ;;
    'Code 2 5 interleaved') echo 'ITF -Si25.enable' ;;
    'Code Codabar') echo 'Codabar -Scodabar.enable' ;;
    esac
}
