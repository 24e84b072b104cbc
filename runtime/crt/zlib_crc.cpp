// zlib's inflate also reads gzip streams and refers to crc32 for their check
// value; uncompress, the program's only way into zlib, reads zlib streams
// alone (their check value is an Adler-32), so crc32 is never called. This
// definition keeps zlib's 8 KB of CRC tables and code out of the program. It
// is linked as an object, ahead of the zlib library, so that it is the one the
// linker takes. Should a gzip stream ever reach inflate, its check fails and
// the stream is refused like any damaged one.
extern "C" unsigned long crc32(unsigned long, const unsigned char*, unsigned int) { return 0; }
