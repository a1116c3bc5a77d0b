// Counts the lines of every input file.
nextflow.enable.dsl = 2

/* Input files come from the

   command line. */
params.files = 'data/*.txt'

process COUNT {
    input: path f // one file
    output: stdout
    script:
    """
    wc -l ${f} // still the string
    """
}

workflow {
    Channel.fromPath(params.files) | COUNT | view /* print */
}
