# Build-time generators of payload sources. Each rule writes its output under
# ${SCRIVORA_GEN_DIR}; the payload table names such outputs as gen/<path>.
