# Sourced by the scripts that build. Run as root through sudo, a build would leave its folders owned
# by root, and the next run as the user could not write to them: when the script ends, the folders
# named go back to the user who called sudo. A root login (no SUDO_USER) keeps them as root's.
give_build_back() {
    if ((EUID == 0)) && [[ -n "${SUDO_USER:-}" && "$SUDO_USER" != root ]]; then
        local folder
        for folder in "$@"; do
            [[ -e "$folder" ]] && chown -R "$SUDO_USER": "$folder"
        done
    fi
    return 0
}
