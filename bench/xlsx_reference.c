/* The workbook of the program's exports written by libxlsxwriter alone: the reference the
 * export benchmarks are measured against.
 *
 *   xlsx_reference CELLS OUT.xlsx TMPDIR
 *
 * CELLS holds one line per row, the first the titles; cells are separated by tabs and each is
 * "n" and a number, "s" and a text, or "b" (blank). The cells are written as the exports write
 * them: constant memory, one sheet "Sheet1", every used column 10 wide, the titles bold from A
 * to AA with slanted dash-dot borders from A to M, thin borders from A to M on every other row.
 * Prints the seconds taken and the peak resident memory in kilobytes. */
#define _POSIX_C_SOURCE 200809L
#include <xlsxwriter.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { BOLD_LAST = 26, BORDER_LAST = 12 };

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s CELLS OUT.xlsx TMPDIR\n", argv[0]);
        return 2;
    }
    const double start = now();
    FILE *in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    lxw_workbook_options opt = {.constant_memory = LXW_TRUE, .tmpdir = argv[3]};
    lxw_workbook *wb = workbook_new_opt(argv[2], &opt);
    lxw_worksheet *ws = wb ? workbook_add_worksheet(wb, "Sheet1") : NULL;
    if (!ws) {
        fprintf(stderr, "cannot create %s\n", argv[2]);
        return 1;
    }
    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_format *title_border = workbook_add_format(wb);
    format_set_bold(title_border);
    format_set_border(title_border, LXW_BORDER_SLANT_DASH_DOT);
    lxw_format *cell_border = workbook_add_format(wb);
    format_set_border(cell_border, LXW_BORDER_THIN);

    char *line = NULL;
    size_t cap = 0;
    ssize_t len;
    lxw_row_t row = 0;
    lxw_error err = LXW_NO_ERROR;
    while (!err && (len = getline(&line, &cap, in)) > 0) {
        if (line[len - 1] == '\n')
            line[--len] = '\0';
        if (row == 0) {
            int cols = 1;
            for (const char *p = line; *p; ++p)
                cols += *p == '\t';
            worksheet_set_column(ws, 0, (lxw_col_t)(cols - 1), 10, NULL);
        }
        lxw_col_t col = 0;
        char *p = line;
        for (;;) {
            char *tab = strchr(p, '\t');
            if (tab)
                *tab = '\0';
            lxw_format *fmt = row == 0 ? (col <= BORDER_LAST ? title_border : col <= BOLD_LAST ? bold : NULL)
                                       : (col <= BORDER_LAST ? cell_border : NULL);
            if (*p == 'n')
                err = worksheet_write_number(ws, row, col, strtod(p + 1, NULL), fmt);
            else if (*p == 's')
                err = worksheet_write_string(ws, row, col, p + 1, fmt);
            else if (fmt)
                err = worksheet_write_blank(ws, row, col, fmt);
            ++col;
            if (!tab || err)
                break;
            p = tab + 1;
        }
        /* The formatted columns past the last cell. */
        for (; !err && col <= (row == 0 ? BOLD_LAST : BORDER_LAST); ++col)
            err = worksheet_write_blank(ws, row, col, row == 0 ? (col <= BORDER_LAST ? title_border : bold) : cell_border);
        ++row;
    }
    free(line);
    fclose(in);
    const lxw_error closed = workbook_close(wb);
    if (err || closed) {
        fprintf(stderr, "%s\n", lxw_strerror(err ? err : closed));
        return 1;
    }
    /* The resident high-water mark of this program (ru_maxrss would carry its parent's over exec). */
    long peak_kb = 0;
    char buf[256];
    FILE *status = fopen("/proc/self/status", "r");
    while (status && fgets(buf, sizeof buf, status))
        if (strncmp(buf, "VmHWM:", 6) == 0)
            peak_kb = atol(buf + 6);
    if (status)
        fclose(status);
    printf("%.3f %ld\n", now() - start, peak_kb);
    return 0;
}
